#pragma once
// Every operation the program asks of a mail store: Outlook through its
// automation objects on Windows, a directory of mail files elsewhere. Each
// command opens the store anew and drops it at its end. Any operation may
// throw MailStoreError with the store's own description of what went wrong.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "mailstore/date_time.h"
#include "mailstore/entry_id.h"
#include "platform/file_system.h"

namespace qs {

class MailStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An item that was listed but is no longer in the store: its mail client
// moved or deleted it since.
class ItemGone : public MailStoreError {
 public:
  using MailStoreError::MailStoreError;
};

// An item the store lists but cannot read: a damaged mail file, an item of
// a data file that its library cannot decode. The search counts it and goes
// on with the rest.
class ItemUnreadable : public MailStoreError {
 public:
  using MailStoreError::MailStoreError;
};

// Outlook's item classes that the program tells apart.
inline constexpr int kMailItemClass = 43;
inline constexpr int kReportItemClass = 46;
inline constexpr int kMeetingRequestClass = 53;

// The file types of SaveAs, by Outlook's numbers; Eml, a MIME message file,
// is none of Outlook's, which refuses it.
enum class SaveType { Text = 0, RichText = 1, Message = 3, Html = 5, MessageUnicode = 9, Eml = 1000 };

class Folder;

// Where one attachment of a mail was saved beside its page: its position
// (from 1) and its file's path relative to the page, "/" between names.
struct PageLink {
  std::int32_t attachment = 0;
  std::string path;
};

class Attachment {
 public:
  virtual ~Attachment() = default;
  virtual std::string FileName() = 0;
  // Both writers give the written file's stamp where the program wrote it
  // itself, so that it need not be looked at again; nothing where another
  // program (Outlook) did.
  virtual std::optional<FileStamp> SaveAsFile(const std::string& path) = 0;
};

// An item of a folder. Only the class may be asked of every item; the rest
// belongs to mail items (class 43).
class MailItem {
 public:
  virtual ~MailItem() = default;
  virtual int Class() = 0;
  virtual DateTime SentOn() = 0;
  virtual DateTime ReceivedTime() = 0;
  virtual DateTime CreationTime() = 0;
  virtual bool Sent() = 0;
  virtual std::string SenderEmailAddress() = 0;
  virtual std::string To() = 0;
  virtual std::string Subject() = 0;
  virtual EntryId EntryID() = 0;
  // What a later save compares to tell whether the item changed since it was
  // saved, as the store reports them (Outlook's LastModificationTime and
  // Size). Neither reads the item's body.
  virtual DateTime LastModificationTime() = 0;
  virtual std::int64_t Size() = 0;
  // What names the same mail from one run to the next, whatever its mail
  // client changes about it (a Maildir flag); two different mails never
  // share it. Where the store says nothing more, its entry identifier as text.
  virtual std::string Identity() { return EntryID().Hex(); }
  virtual std::unique_ptr<Folder> Parent() = 0;
  virtual std::optional<FileStamp> SaveAs(const std::string& path, SaveType type) = 0;
  virtual std::int32_t AttachmentCount() = 0;
  // position counts from 1 to AttachmentCount().
  virtual std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) = 0;
  // The HTML form, its pictures pointing at the attachments saved beside it
  // (saved), where the store can tell which part a link names.
  virtual std::optional<FileStamp> SaveLinkedPageAs(const std::string& path, const std::vector<PageLink>& /*saved*/) {
    return SaveAs(path, SaveType::Html);
  }
};

class Folder {
 public:
  virtual ~Folder() = default;
  // Throws when there is no subfolder of that name.
  virtual std::unique_ptr<Folder> Subfolder(const std::string& name) = 0;
  // Subfolders and items in the store's own order; positions count from 1.
  virtual std::int32_t SubfolderCount() = 0;
  virtual std::unique_ptr<Folder> SubfolderAt(std::int32_t position) = 0;
  virtual std::int32_t ItemCount() = 0;
  virtual std::unique_ptr<MailItem> ItemAt(std::int32_t position) = 0;
  // "\\Store\Folder\Subfolder".
  virtual std::string FolderPath() = 0;
  // The same path with "/" between the names: "//Store/Folder/Subfolder".
  virtual std::string FullPath() = 0;
  // False for a folder of contacts, appointments, tasks or notes, whose items
  // are no mail: one of them that cannot be read is passed over as such.
  // True where the store cannot tell.
  virtual bool HoldsMail() { return true; }
};

// What tells a mail from the others and from its earlier self, as its
// item's Identity, Parent()->FullPath, LastModificationTime and Size give
// them: enough for a save to find it unchanged without fetching it.
struct ItemMark {
  std::string identity;
  std::string folder;
  DateTime modified;
  std::int64_t size = 0;
};

// The store's namespace, as one command holds it.
class MailStore {
 public:
  virtual ~MailStore() = default;
  // Throws when there is no top-level folder of that name.
  virtual std::unique_ptr<Folder> TopFolder(const std::string& name) = 0;
  // The store's own folder chooser; nothing when the user chose none.
  virtual std::unique_ptr<Folder> PickFolder() = 0;
  // Every top-level folder, in the order the store's chooser lists them;
  // throws where the store has no such list (Outlook).
  virtual std::vector<std::unique_ptr<Folder>> TopLevelFolders() {
    throw MailStoreError("This mail store does not list its folders.");
  }
  virtual std::unique_ptr<MailItem> GetItemFromID(const EntryId& entry_id) = 0;
  // The same for an item a search listed, with the path of the folder it
  // was found in: a store that cannot tell an item's folder from the item
  // alone looks there first.
  virtual std::unique_ptr<MailItem> GetListedItem(const EntryId& entry_id, const std::string& /*listed_folder*/) {
    return GetItemFromID(entry_id);
  }
  // The mark of the item with that entry identifier where the store has it
  // for less than a fetch (from any thread, as GetItemFromID); nothing where
  // it has not, and the item is fetched.
  virtual std::optional<ItemMark> MarkOf(const EntryId& /*entry_id*/) { return std::nullopt; }
  // True when items may be read and saved on several threads at once (each
  // item by one thread at a time), and GetItemFromID, and a folder's ItemAt
  // once its ItemCount was asked, called from any thread.
  virtual bool ItemsInParallel() const { return false; }
  // The version of the writer of files of the type: a newer writer makes a
  // later save write an item's files again, although the item is unchanged.
  virtual int WriterVersion(SaveType) const { return 1; }
  // True when its items' pages link their pictures to saved attachments
  // (SaveLinkedPageAs): a directory save then writes a page after them.
  virtual bool LinksPictures() const { return false; }
  // Whether the store can write files of the type at all.
  virtual bool Writes(SaveType type) const { return type != SaveType::Eml; }
};

}  // namespace qs

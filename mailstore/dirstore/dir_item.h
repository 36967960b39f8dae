#pragma once

#include <optional>
#include <string>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/dirstore/store_context.h"
#include "mailstore/mail_store.h"
#include "mailstore/mime/message_reading.h"
#include "mailstore/message/picture_links.h"
#include "mailstore/mime/message_summary.h"

namespace qs::dirstore {

// A mail file, or a message of an mbox file. Its header block is read once,
// when a property is first asked; the body is left for saving.
class DirItem : public MailItem {
 public:
  // How much of the file the first property reads: the search wants only
  // the header block; an item fetched to be saved is read whole at once, so
  // that its file is read only once.
  enum class Reading { HeaderBlock, Whole };

  // The item at index of the folder's listing; file: its file, when it is
  // open already.
  DirItem(std::shared_ptr<const ListedFolder> folder, std::size_t index,
          Reading reading = Reading::HeaderBlock, std::optional<ItemFile> file = std::nullopt);

  int Class() override { return Summary().item_class; }
  DateTime SentOn() override { return Summary().sent_on; }
  DateTime ReceivedTime() override { return Summary().received; }
  DateTime CreationTime() override { return Summary().received; }
  bool Sent() override { return Summary().sent; }
  std::string SenderEmailAddress() override;
  std::string To() override;
  std::string Subject() override;
  EntryId EntryID() override;
  DateTime LastModificationTime() override;
  std::int64_t Size() override;
  std::string Identity() override;
  std::unique_ptr<Folder> Parent() override;
  std::optional<FileStamp> SaveAs(const std::string& path, SaveType type) override;
  std::optional<FileStamp> SaveLinkedPageAs(const std::string& path, const std::vector<PageLink>& saved) override;
  std::int32_t AttachmentCount() override;
  std::unique_ptr<Attachment> AttachmentAt(std::int32_t position) override;

 private:
  std::optional<FileStamp> SaveWithLinks(const std::string& path, SaveType type, const PictureLinks* links);
  const ItemFacts& Summary();
  FileStamp CopyMailFile(const std::string& path);
  const ListedItem& Listed() const { return folder_->listing.items[index_]; }
  // A message of the folder's mbox file, rather than a file of its own.
  bool InMbox() const { return Listed().message.has_value(); }
  // The message's bytes as it is, read from the mbox file.
  std::string MboxMessageBytes() const;
  const Directory& Base() const { return *Listed().location.base; }
  const std::string& Name() const { return Listed().location.name; }
  // Below the mail root, "/" between the names.
  std::string RelativePath() const;
  // The whole message, read once when something is saved.
  const std::shared_ptr<const MailContent>& Content();
  template <typename Work>
  auto WithinMemory(Work work) -> decltype(work());

  std::shared_ptr<const ListedFolder> folder_;
  std::size_t index_;
  Reading reading_;
  std::optional<ItemFacts> summary_;
  // Read by Summary; the texts are made from them when asked.
  std::shared_ptr<const RawHeaders> headers_;
  std::shared_ptr<const MailContent> content_;
  std::optional<ItemFile> file_;  // read, then closed, by Content
  // What the system said of the file when it was opened, kept after.
  std::optional<struct stat> status_;
  const struct stat& Status();
};

}  // namespace qs::dirstore

#include "mailstore/dirstore/dir_store.h"

#include "mailstore/dirstore/dir_folder.h"
#include "mailstore/dirstore/dir_item.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_chooser.h"
#include "mailstore/dirstore/folder_place.h"
#include "mailstore/dirstore/item_lookup.h"
#include "mailstore/folder_names.h"
#include "mailstore/mime/message_summary.h"
#include "platform/reporter.h"

namespace qs::dirstore {

DirStore::DirStore(Reporter& report, std::filesystem::path mail_root)
    : report_(report),
      context_(std::make_shared<const StoreContext>(
          mail_root, [&report](std::string_view line) { report.Debug(line); })) {}

FolderListing DirStore::ListRoot() const { return ListTop(*context_); }

std::unique_ptr<Folder> DirStore::TopFolder(const std::string& name) {
  const FolderListing root = ListRoot();
  const auto found = FindName(root.shown, name);
  if (!found) throw MailStoreError("The folder \"" + name + "\" was not found in the mail store.");
  return std::make_unique<DirFolder>(context_, std::vector<std::string>{root.subfolders[*found]},
                                     std::vector<std::string>{root.shown[*found]});
}

std::vector<std::string> DirStore::TopFolderNames() const { return ListRoot().shown; }

std::vector<std::unique_ptr<Folder>> DirStore::TopLevelFolders() {
  const FolderListing root = ListRoot();
  std::vector<std::unique_ptr<Folder>> tops;
  for (std::size_t i = 0; i < root.subfolders.size(); ++i)
    tops.push_back(std::make_unique<DirFolder>(context_, std::vector<std::string>{root.subfolders[i]},
                                               std::vector<std::string>{root.shown[i]}));
  return tops;
}

std::unique_ptr<Folder> DirStore::PickFolder() { return ChooseFolder(report_, TopLevelFolders()); }

std::unique_ptr<MailItem> DirStore::MboxItem(const MboxEntry& entry) {
  const std::optional<FolderPlace> place = PlaceOf(*context_, entry.folder);
  if (!place || !place->mbox_directory) return nullptr;
  std::shared_ptr<const MboxFile> file = OpenMboxFile(*place->mbox_directory, place->mbox_name);
  std::optional<MboxMessage> message = MboxMessageAt(*file, entry.hash, entry.number, entry.hint);
  if (!message) message = mbox_index_.Find(*file, entry.hash, entry.number);
  if (!message) return nullptr;
  return std::make_unique<DirItem>(ListedFolder::OfMessage(context_, entry.folder,
                                                           {place->mbox_directory, place->mbox_name},
                                                           std::move(file), *message),
                                   0, DirItem::Reading::Whole);
}

std::unique_ptr<MailItem> DirStore::GetItemFromID(const EntryId& entry_id) {
  if (const std::optional<MboxEntry> entry = DecodeMboxEntryId(entry_id)) {
    if (std::unique_ptr<MailItem> item = MboxItem(*entry)) return item;
    throw MailStoreError("The item with the entry identifier " + entry_id.Hex() + " was not found.");
  }
  const std::optional<std::string> path = DecodeEntryId(entry_id);
  std::optional<FoundItem> found;
  if (path) found = FindItem(*context_, *path, last_folder_);
  if (!found) throw MailStoreError("The item with the entry identifier " + entry_id.Hex() + " was not found.");
  // Fetched by its identifier to be saved: read whole at once.
  return std::make_unique<DirItem>(ListedFolder::OfItem(context_, std::move(found->folder), std::move(found->name),
                                                        std::move(found->location)),
                                   0, DirItem::Reading::Whole, std::move(found->file));
}

std::optional<ItemMark> DirStore::MarkOf(const EntryId& entry_id) {
  const std::optional<std::string> path = DecodeEntryId(entry_id);
  if (!path) return std::nullopt;
  const auto slash = path->rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::shared_ptr<const Directory> directory = last_folder_.Open(*context_, path->substr(0, slash));
  if (!directory) return std::nullopt;
  const std::optional<struct stat> status = directory->Status(path->substr(slash + 1));
  if (!status || !S_ISREG(status->st_mode)) return std::nullopt;
  const std::vector<std::string> names = ItemFolderNames(*path);
  if (names.empty()) return std::nullopt;
  return ItemMark{ItemIdentity(*path), FullPathOf(FolderPathOf(context_->shown_names->Of(*context_, names))),
                  LocalTimeOf(status->st_mtime),
                  static_cast<std::int64_t>(status->st_size)};
}

}  // namespace qs::dirstore

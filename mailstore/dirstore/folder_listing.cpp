#include "mailstore/dirstore/folder_listing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "mailstore/folder_names.h"
#include "mailstore/mail_store.h"
#include "mailstore/save_record_name.h"
#include "platform/text.h"

namespace qs::dirstore {

namespace {

bool EndsWithEml(std::string_view name) {
  if (name.size() < 4) return false;
  return EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".eml");
}

bool CouldBeFolder(const std::string& name) { return name != "tmp" && name.front() != '.'; }

// A subdirectory that is the folder itself or one that holds it is not
// entered again.
bool InLineage(const StoreContext& store, const Directory& directory, const std::string& name,
               const std::vector<FileIdentity>& lineage) {
  const auto status = directory.Status(name);
  if (!status) return false;
  if (std::find(lineage.begin(), lineage.end(), FileIdentity{status->st_dev, status->st_ino}) ==
      lineage.end())
    return false;
  store.PassedOver(directory.Path() + "/" + name, "the folder holds itself");
  return true;
}

// A directory a save run keeps its record in holds saved mail.
bool HoldsSavedMail(const StoreContext& store, const Directory& directory, const std::string& name) {
  if (!directory.Status(name + "/" + std::string(kSaveRecordName))) return false;
  store.PassedOver(directory.Path() + "/" + name, "it is a save directory, whose mail was saved from elsewhere");
  return true;
}

// The files of a Maildir's cur/ or new/, as items named "sub/file".
void AddMaildirItems(const StoreContext& store, const Directory& folder, const std::string& sub,
                     std::vector<ListedItem>& items) {
  const std::shared_ptr<const Directory> directory = Directory::Below(folder, sub);
  if (!directory)
    throw MailStoreError("cannot open the folder " + folder.Path() + "/" + sub + ": " + std::strerror(errno));
  const std::size_t first = items.size();
  for (DirectoryEntry& entry : directory->Entries()) {
    std::string listed;
    listed.reserve(sub.size() + 1 + entry.name.size());
    listed.append(sub).append(1, '/').append(entry.name);
    if (auto location = LocateItem(store, directory, std::move(entry.name), entry.kind))
      items.push_back({std::move(listed), std::move(*location)});
  }
  std::sort(items.begin() + static_cast<std::ptrdiff_t>(first), items.end(),
            [](const ListedItem& a, const ListedItem& b) { return a.name < b.name; });
}

}  // namespace

FolderListing ListFolder(const StoreContext& store, const std::shared_ptr<const Directory>& directory,
                         const std::vector<FileIdentity>& lineage) {
  FolderListing listing;
  bool has_cur = false;
  bool has_new = false;
  for (DirectoryEntry& entry : directory->Entries()) {
    const std::string& name = entry.name;
    if (entry.kind == EntryKind::Directory) {
      if (name == "cur") has_cur = true;
      else if (name == "new") has_new = true;
      else if (CouldBeFolder(name) && !InLineage(store, *directory, name, lineage) &&
               !HoldsSavedMail(store, *directory, name))
        listing.subfolders.push_back(name);
    } else if (EndsWithEml(name)) {
      std::string listed = name;
      if (auto location = LocateItem(store, directory, std::move(entry.name), entry.kind))
        listing.items.push_back({std::move(listed), std::move(*location)});
    } else if (entry.kind == EntryKind::Link && CouldBeFolder(name)) {
      NoteFolderLink(store, *directory, name);
    }
  }
  std::sort(listing.subfolders.begin(), listing.subfolders.end());
  listing.shown = listing.subfolders;
  MakeNamesDistinct(listing.shown);
  std::sort(listing.items.begin(), listing.items.end(),
            [](const ListedItem& a, const ListedItem& b) { return a.name < b.name; });
  if (has_cur) AddMaildirItems(store, *directory, "cur", listing.items);
  if (has_new) AddMaildirItems(store, *directory, "new", listing.items);
  return listing;
}

std::shared_ptr<const ListedFolder> ListedFolder::OfItem(SharedContext context, std::string relative_path,
                                                        std::string name, ItemLocation location) {
  auto folder = std::make_shared<ListedFolder>();
  folder->context = std::move(context);
  folder->relative_path = std::move(relative_path);
  folder->listing.items.push_back({std::move(name), std::move(location)});
  return folder;
}

}  // namespace qs::dirstore

#include "mailstore/dirstore/folder_listing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "mailstore/dirstore/maildir_plus.h"
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

bool EndsWith(std::string_view name, std::string_view end) {
  return name.size() > end.size() && EqualsIgnoringAsciiCase(name.substr(name.size() - end.size()), end);
}

std::string WithoutEnd(const std::string& name, std::string_view end) {
  return name.substr(0, name.size() - end.size());
}

// The directory of an mbox folder's subfolders ends so.
constexpr std::string_view kSubfolders = ".sbd";

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
      items.push_back({std::move(listed), std::move(*location), std::nullopt});
  }
  std::sort(items.begin() + static_cast<std::ptrdiff_t>(first), items.end(),
            [](const ListedItem& a, const ListedItem& b) { return a.name < b.name; });
}

// The messages of the folder's mbox file, ahead of its other items.
void AddMboxMessages(const FolderPlace& place, FolderListing& listing) {
  listing.mbox = OpenMboxFile(*place.mbox_directory, place.mbox_name);
  std::vector<ListedItem> messages;
  ListMbox(*listing.mbox, [&](const MboxMessage& message) {
    messages.push_back({{}, {place.mbox_directory, place.mbox_name}, message});
  });
  listing.items.insert(listing.items.begin(), std::make_move_iterator(messages.begin()),
                       std::make_move_iterator(messages.end()));
}

// A subfolder's name and the name it shows.
struct Subfolder {
  std::string name;
  std::string shown;
};

// The Maildir++ folders one level below the folder at place, from the
// Maildir's dot-directories. Listing the Maildir itself names those that
// are no Maildir++ folder in the diagnostic output.
void AddMaildirPlusFolders(const StoreContext& store, const FolderPlace& place, std::vector<Subfolder>& subfolders) {
  const Directory& maildir = *place.maildir;
  const std::string& own = place.maildir_name;
  const bool top = own.empty();
  std::unordered_set<std::string> added;
  for (const DirectoryEntry& entry : maildir.Entries()) {
    const std::string& name = entry.name;
    if (entry.kind != EntryKind::Directory || name.front() != '.') continue;
    if (!top && !(name.size() > own.size() && name.starts_with(own) && name[own.size()] == '.')) continue;
    const auto parts = MaildirPlusParts(name);
    const std::shared_ptr<const Directory> directory = parts ? Directory::Below(maildir, name) : nullptr;
    if (!directory || !IsMaildir(*directory)) {
      if (top) store.PassedOver(maildir.Path() + "/" + name, "a hidden directory that is no Maildir++ folder");
      continue;
    }
    const std::size_t depth = top ? 1 : static_cast<std::size_t>(std::count(own.begin(), own.end(), '.')) + 1;
    std::string child = MaildirPlusPrefix(*parts, depth);
    if (added.insert(child).second) subfolders.push_back({std::move(child), DecodeModifiedUtf7((*parts)[depth - 1])});
  }
}

}  // namespace

FolderListing ListFolder(const StoreContext& store, const FolderPlace& place, ListingDepth depth) {
  FolderListing listing;
  std::vector<Subfolder> subfolders;
  bool has_cur = false;
  bool has_new = false;
  // A Maildir's own listing says which of its hidden directories are no
  // Maildir++ folders; another directory's hidden ones are passed over here.
  const bool maildir_top = place.maildir && place.maildir == place.directory;
  if (const std::shared_ptr<const Directory>& directory = place.directory) {
    std::vector<DirectoryEntry> entries = directory->Entries();
    // An mbox file and the directory of its subfolders are one folder.
    std::unordered_set<std::string> files, subfolder_directories;
    for (const DirectoryEntry& entry : entries) {
      if (entry.kind == EntryKind::File) files.insert(entry.name);
      else if (entry.kind == EntryKind::Directory && entry.name.ends_with(kSubfolders))
        subfolder_directories.insert(entry.name);
    }
    for (DirectoryEntry& entry : entries) {
      const std::string& name = entry.name;
      if (entry.kind == EntryKind::Directory) {
        if (name == "cur") has_cur = true;
        else if (name == "new") has_new = true;
        else if (name.front() == '.' && !maildir_top)
          store.PassedOver(directory->Path() + "/" + name, "a hidden directory is not a folder");
        else if (name.ends_with(kSubfolders) && files.contains(WithoutEnd(name, kSubfolders)))
          continue;
        else if (CouldBeFolder(name) && !InLineage(store, *directory, name, place.lineage) &&
                 !HoldsSavedMail(store, *directory, name))
          subfolders.push_back({name, name.ends_with(kSubfolders) ? WithoutEnd(name, kSubfolders) : name});
      } else if (entry.kind == EntryKind::File && !EndsWithEml(name)) {
        if (name.front() == '.' || EndsWith(name, ".msf")) continue;
        // An mbox file that is empty still is one beside its subfolders or
        // its mail program's index.
        if (subfolder_directories.contains(name + std::string(kSubfolders)) || files.contains(name + ".msf") ||
            StartsWithFromLine(*directory, name))
          subfolders.push_back({name, EndsWith(name, ".mbox") ? WithoutEnd(name, ".mbox") : name});
      } else if (EndsWithEml(name)) {
        if (depth == ListingDepth::FoldersOnly) continue;
        std::string listed = name;
        if (auto location = LocateItem(store, directory, std::move(entry.name), entry.kind))
          listing.items.push_back({std::move(listed), std::move(*location), std::nullopt});
      } else if (entry.kind == EntryKind::Link && CouldBeFolder(name)) {
        NoteFolderLink(store, *directory, name);
      }
    }
  }
  if (place.maildir) AddMaildirPlusFolders(store, place, subfolders);
  std::sort(subfolders.begin(), subfolders.end(), [](const Subfolder& a, const Subfolder& b) {
    return a.shown != b.shown ? a.shown < b.shown : a.name < b.name;
  });
  for (Subfolder& subfolder : subfolders) {
    listing.subfolders.push_back(std::move(subfolder.name));
    listing.shown.push_back(std::move(subfolder.shown));
  }
  MakeNamesDistinct(listing.shown);
  if (depth == ListingDepth::FoldersOnly) return listing;
  std::sort(listing.items.begin(), listing.items.end(),
            [](const ListedItem& a, const ListedItem& b) { return a.name < b.name; });
  if (has_cur) AddMaildirItems(store, *place.directory, "cur", listing.items);
  if (has_new) AddMaildirItems(store, *place.directory, "new", listing.items);
  if (place.mbox_directory) AddMboxMessages(place, listing);
  return listing;
}

FolderListing ListTop(const StoreContext& store) {
  if (store.only_top.empty())
    return ListFolder(store, FolderPlace{store.root, {store.root->Identity()}, nullptr, {}, nullptr, {}});
  FolderListing top;
  top.subfolders.push_back(store.only_top);
  top.shown.push_back(store.only_top);
  return top;
}

std::shared_ptr<const ListedFolder> ListedFolder::OfItem(SharedContext context, std::string relative_path,
                                                        std::string name, ItemLocation location) {
  auto folder = std::make_shared<ListedFolder>();
  folder->context = std::move(context);
  folder->relative_path = std::move(relative_path);
  folder->listing.items.push_back({std::move(name), std::move(location), std::nullopt});
  return folder;
}

std::shared_ptr<const ListedFolder> ListedFolder::OfMessage(SharedContext context, std::string relative_path,
                                                           ItemLocation location, std::shared_ptr<const MboxFile> mbox,
                                                           const MboxMessage& message) {
  auto folder = std::make_shared<ListedFolder>();
  folder->context = std::move(context);
  folder->relative_path = std::move(relative_path);
  folder->listing.items.push_back({{}, std::move(location), message});
  folder->listing.mbox = std::move(mbox);
  return folder;
}

}  // namespace qs::dirstore

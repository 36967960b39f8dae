#include "mailstore/dirstore/item_lookup.h"

#include <cerrno>
#include <string_view>

#include "mailstore/dirstore/folder_place.h"

namespace qs::dirstore {

namespace {

std::optional<FoundItem> FoundAt(const StoreContext& store, const std::shared_ptr<const Directory>& directory,
                                 const std::string& folder, const std::string& name, EntryKind kind) {
  std::optional<ItemLocation> location = LocateItem(store, directory, name, kind);
  if (!location) return std::nullopt;
  return FoundItem{folder, name, std::move(*location), std::nullopt};
}

// What stays of a Maildir file's name while its flags change: all before
// the ":2," that starts them.
std::string_view UniqueName(std::string_view name) { return name.substr(0, name.find(":2,")); }

std::optional<FoundItem> FindRenamed(const StoreContext& store, const std::string& folder,
                                     const std::string& name) {
  const auto slash = folder.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string sub = folder.substr(slash + 1);
  if (sub != "cur" && sub != "new") return std::nullopt;
  const std::string maildir_path = folder.substr(0, slash);
  const std::optional<FolderPlace> maildir_place = PlaceOf(store, maildir_path);
  if (!maildir_place || !maildir_place->directory) return std::nullopt;
  const std::shared_ptr<const Directory>& maildir = maildir_place->directory;
  const std::string_view unique = UniqueName(name);
  for (const std::string place : {"cur", "new"}) {
    const std::shared_ptr<const Directory> directory = Directory::Below(*maildir, place);
    if (!directory) continue;
    for (const DirectoryEntry& entry : directory->Entries())
      if (UniqueName(entry.name) == unique)
        return FoundAt(store, directory, maildir_path + "/" + place, entry.name, entry.kind);
  }
  return std::nullopt;
}

}  // namespace

std::shared_ptr<const Directory> LastFolder::Open(const StoreContext& store,
                                                  const std::string& relative) {
  std::lock_guard lock(mutex_);
  if (!directory_ || relative != relative_) {
    const std::optional<FolderPlace> place = PlaceOf(store, relative);
    directory_ = place ? place->directory : nullptr;
    if (place && !directory_) errno = ENOENT;
    relative_ = directory_ ? relative : std::string();
  }
  return directory_;
}

std::optional<FoundItem> FindItem(const StoreContext& store, const std::string& relative_path,
                                  LastFolder& last_folder) {
  const auto slash = relative_path.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string folder = relative_path.substr(0, slash);
  const std::string name = relative_path.substr(slash + 1);
  const std::shared_ptr<const Directory> directory = last_folder.Open(store, folder);
  if (!directory) return std::nullopt;
  // The file is opened at once: what it is, the open file tells, and the
  // item is read from it. A FIFO does not make the open wait.
  if (std::optional<ItemFile> file = OpenAnyItemFile(*directory, name)) {
    const EntryKind kind = KindOf(file->status.st_mode);
    std::optional<FoundItem> found = FoundAt(store, directory, folder, name, kind);
    if (found && kind == EntryKind::File) found->file = std::move(file);
    return found;
  }
  if (errno == ENOENT) return FindRenamed(store, folder, name);
  if (errno == ELOOP) return FoundAt(store, directory, folder, name, EntryKind::Link);
  if (const auto status = directory->Status(name))
    return FoundAt(store, directory, folder, name, KindOf(status->st_mode));
  return FindRenamed(store, folder, name);
}

}  // namespace qs::dirstore

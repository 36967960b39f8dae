#include "mailstore/dirstore/folder_place.h"

#include <cerrno>

#include "mailstore/dirstore/maildir_plus.h"

namespace qs::dirstore {

namespace {

std::optional<FolderPlace> Missing() {
  errno = ENOENT;
  return std::nullopt;
}

// A Maildir++ name below the folder at place: one more part than the
// folder's own name.
bool ExtendsMaildirName(const FolderPlace& place, const std::string& name) {
  const auto parts = MaildirPlusParts(name);
  if (!parts) return false;
  const std::string& own = place.maildir_name;
  if (own.empty()) return parts->size() == 1;
  return name.size() > own.size() && name.compare(0, own.size(), own) == 0 && name[own.size()] == '.' &&
         name.find('.', own.size() + 1) == std::string::npos;
}

}  // namespace

std::optional<FolderPlace> PlaceOf(const StoreContext& store, const std::vector<std::string>& names) {
  FolderPlace place{store.root, {store.root->Identity()}, nullptr, {}, nullptr, {}};
  if (!store.only_top.empty() && (names.empty() || names.front() != store.only_top)) return Missing();
  for (const std::string& name : names) {
    if (place.maildir && ExtendsMaildirName(place, name)) {
      place.directory = Directory::Below(*place.maildir, name);
      place.maildir_name = name;
      continue;
    }
    if (!place.directory) return Missing();
    const std::shared_ptr<const Directory> parent = std::move(place.directory);
    place.directory = Directory::Below(*parent, name);
    place.maildir = nullptr;
    place.maildir_name.clear();
    place.mbox_directory = nullptr;
    place.mbox_name.clear();
    if (!place.directory) {
      if (errno != ENOTDIR) return std::nullopt;
      // An mbox file, with the directory of its subfolders if there is one.
      place.mbox_directory = parent;
      place.mbox_name = name;
      place.directory = Directory::Below(*parent, name + ".sbd");
      if (place.directory) place.lineage.push_back(place.directory->Identity());
      continue;
    }
    place.lineage.push_back(place.directory->Identity());
    if (IsMaildir(*place.directory)) place.maildir = place.directory;
  }
  return place;
}

std::vector<std::string> NamesOf(std::string_view relative_path) {
  std::vector<std::string> names;
  for (std::size_t slash; (slash = relative_path.find('/')) != std::string_view::npos;
       relative_path.remove_prefix(slash + 1))
    names.emplace_back(relative_path.substr(0, slash));
  if (!relative_path.empty()) names.emplace_back(relative_path);
  return names;
}

std::optional<FolderPlace> PlaceOf(const StoreContext& store, std::string_view relative_path) {
  return PlaceOf(store, NamesOf(relative_path));
}

}  // namespace qs::dirstore

#include "mailstore/dirstore/item_location.h"

#include <sys/stat.h>

#include <cstdlib>

namespace qs::dirstore {

namespace {

constexpr const char* kFolderLink = "a link to a folder is not followed";

// The path of the link's file below the mail root; nothing when it leads
// outside the root or nowhere.
std::optional<std::string> BelowRoot(const StoreContext& store, const std::string& link) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(link.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  const std::string& root = store.root->Path();
  const std::string path = resolved.get();
  const std::size_t skip = root == "/" ? 1 : root.size() + 1;
  if (path.size() <= skip || path.compare(0, root.size(), root) != 0 || path[skip - 1] != '/')
    return std::nullopt;
  std::string below = path.substr(skip);
  const std::string& top = store.only_top;
  if (!top.empty() && !(below.size() > top.size() && below.starts_with(top) && below[top.size()] == '/'))
    return std::nullopt;
  return below;
}

}  // namespace

std::optional<ItemLocation> LocateItem(const StoreContext& store,
                                       const std::shared_ptr<const Directory>& directory,
                                       std::string name, EntryKind kind) {
  if (kind == EntryKind::File) return ItemLocation{directory, std::move(name)};
  if (kind != EntryKind::Link) return std::nullopt;
  const std::string link = directory->Path() + "/" + name;
  struct stat status {};
  if (stat(link.c_str(), &status) != 0) {
    store.PassedOver(link, "the link leads nowhere");
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    store.PassedOver(link, kFolderLink);
    return std::nullopt;
  }
  std::optional<std::string> target = BelowRoot(store, link);
  if (!target) {
    store.PassedOver(link, "the link leads outside the mail root");
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    store.PassedOver(link, "the link leads to no mail file");
    return std::nullopt;
  }
  return ItemLocation{store.root, std::move(*target)};
}

void NoteFolderLink(const StoreContext& store, const Directory& directory, const std::string& name) {
  const std::string link = directory.Path() + "/" + name;
  struct stat status {};
  if (stat(link.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) store.PassedOver(link, kFolderLink);
}

}  // namespace qs::dirstore

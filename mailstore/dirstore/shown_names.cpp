#include "mailstore/dirstore/shown_names.h"

#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/dirstore/store_context.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

std::vector<std::string> ShownNames::Of(const StoreContext& store, const std::vector<std::string>& names) {
  std::vector<std::string> shown = names;
  for (std::size_t depth = 0; depth < names.size(); ++depth) {
    const Renamed& renamed = RenamedBelow(store, names, depth);
    if (const auto found = renamed.find(names[depth]); found != renamed.end()) shown[depth] = found->second;
  }
  return shown;
}

const ShownNames::Renamed& ShownNames::RenamedBelow(const StoreContext& store,
                                                    const std::vector<std::string>& names, std::size_t depth) {
  std::string parent;
  for (std::size_t i = 0; i < depth; ++i) parent.append(i == 0 ? "" : "/").append(names[i]);
  {
    const std::lock_guard lock(mutex_);
    if (const auto found = parents_.find(parent); found != parents_.end()) return found->second;
  }
  // Opened name by name from the root, as a folder's own listing is; its
  // links were named when the search listed it.
  Renamed renamed;
  StoreContext quiet = store;
  quiet.debug = {};
  try {
    std::optional<FolderListing> listing;
    if (depth == 0) {
      listing = ListTop(quiet);
    } else if (const auto place = PlaceOf(
                   quiet, std::vector<std::string>(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(depth)))) {
      listing = ListFolder(quiet, *place, ListingDepth::FoldersOnly);
    }
    if (listing)
      for (std::size_t i = 0; i < listing->subfolders.size(); ++i)
        if (listing->shown[i] != listing->subfolders[i]) renamed.emplace(listing->subfolders[i], listing->shown[i]);
  } catch (const MailStoreError&) {
    // Left to the fetch of the item below it to report.
  }
  const std::lock_guard lock(mutex_);
  return parents_.emplace(std::move(parent), std::move(renamed)).first->second;
}

}  // namespace qs::dirstore

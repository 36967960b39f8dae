#include "mailstore/dirstore/dir_folder.h"

#include <cerrno>
#include <cstring>

#include "mailstore/dirstore/dir_item.h"
#include "mailstore/folder_names.h"

namespace qs::dirstore {

namespace {

template <class Vector>
const auto& At(const Vector& items, std::int32_t position, const char* what) {
  if (position < 1 || static_cast<std::size_t>(position) > items.size())
    throw MailStoreError(std::string("no ") + what + " at position " + std::to_string(position));
  return items[static_cast<std::size_t>(position - 1)];
}

}  // namespace

DirFolder::DirFolder(SharedContext context, std::vector<std::string> names, std::vector<std::string> shown)
    : context_(std::move(context)), names_(std::move(names)), shown_(std::move(shown)) {
  for (const std::string& name : names_) {
    if (!relative_path_.empty()) relative_path_ += '/';
    relative_path_ += name;
  }
}

FolderPlace DirFolder::Place() const {
  // Opened name by name from the root, so that no link on the way is
  // followed and every directory that holds this one is known.
  std::optional<FolderPlace> place = PlaceOf(*context_, names_);
  if (!place)
    throw MailStoreError("cannot open the folder " + context_->root->Path() + "/" + RelativePath() + ": " +
                         std::strerror(errno));
  return std::move(*place);
}

const FolderListing& DirFolder::Listing() {
  if (listed_) return listed_->listing;
  return ListWhole(Place());
}

const FolderListing& DirFolder::ListWhole(const FolderPlace& place) {
  listed_ = std::make_shared<const ListedFolder>(ListedFolder{context_, relative_path_, ListFolder(*context_, place)});
  return listed_->listing;
}

const FolderListing& DirFolder::Subfolders() {
  if (listed_) return listed_->listing;
  if (subfolders_) return *subfolders_;
  FolderPlace place = Place();
  if (!place.mbox_directory) return ListWhole(place);
  subfolders_ = ListFolder(*context_, place, ListingDepth::FoldersOnly);
  return *subfolders_;
}

std::unique_ptr<Folder> DirFolder::Child(std::size_t index) {
  const FolderListing& listing = Subfolders();
  std::vector<std::string> names = names_;
  names.push_back(listing.subfolders[index]);
  std::vector<std::string> shown = shown_;
  shown.push_back(listing.shown[index]);
  return std::make_unique<DirFolder>(context_, std::move(names), std::move(shown));
}

std::unique_ptr<Folder> DirFolder::Subfolder(const std::string& name) {
  const auto found = FindName(Subfolders().shown, name);
  if (!found) throw MailStoreError("The folder \"" + name + "\" was not found in " + FolderPath() + ".");
  return Child(*found);
}

std::int32_t DirFolder::SubfolderCount() {
  return static_cast<std::int32_t>(Subfolders().subfolders.size());
}

std::unique_ptr<Folder> DirFolder::SubfolderAt(std::int32_t position) {
  At(Subfolders().subfolders, position, "subfolder");
  return Child(static_cast<std::size_t>(position - 1));
}

std::int32_t DirFolder::ItemCount() { return static_cast<std::int32_t>(Listing().items.size()); }

std::unique_ptr<MailItem> DirFolder::ItemAt(std::int32_t position) {
  const FolderListing& listing = Listing();
  At(listing.items, position, "item");
  return std::make_unique<DirItem>(listed_, static_cast<std::size_t>(position - 1));
}

std::string DirFolder::FolderPath() { return FolderPathOf(shown_); }

std::string DirFolder::FullPath() { return FullPathOf(FolderPath()); }

}  // namespace qs::dirstore

#include "save/saved_file_stamps.h"

#include "save/record_path.h"

namespace qs {

std::optional<FileStamp> SavedFileStamps::Of(std::string_view record_path) const {
  const auto slash = record_path.rfind('/');
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : record_path.substr(0, slash);
  const std::string name(record_path.substr(slash == std::string_view::npos ? 0 : slash + 1));
  const DirectoryStamps* stamps = nullptr;
  {
    const std::lock_guard lock(mutex_);
    auto found = directories_.find(directory);
    if (found == directories_.end()) {
      // The save directory may be a link, since the user named it; no
      // directory below it is followed.
      auto opened = directory.empty()
                        ? std::make_unique<const DirectoryStamps>(save_dir_, DirectoryStamps::Link::kFollowed)
                        : std::make_unique<const DirectoryStamps>(save_dir_ + FromRecordPath(std::string(directory)),
                                                                  DirectoryStamps::Link::kRefused);
      found = directories_.emplace(std::string(directory), std::move(opened)).first;
    }
    stamps = found->second.get();  // lives as long as this object: entries are never removed
  }
  return stamps->Of(name);
}

}  // namespace qs

#include "save/saved_file_stamps.h"

#include "save/record_path.h"

namespace qs {

namespace {

// Enough for the directories the run's threads look in at once.
constexpr std::size_t kOpenDirectories = 64;

}  // namespace

std::optional<FileStamp> SavedFileStamps::Of(std::string_view record_path) const {
  const auto slash = record_path.rfind('/');
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : record_path.substr(0, slash);
  const std::string name(record_path.substr(slash == std::string_view::npos ? 0 : slash + 1));
  std::shared_ptr<const DirectoryStamps> stamps;
  {
    const std::lock_guard lock(mutex_);
    auto found = directories_.find(directory);
    if (found != directories_.end()) {
      uses_.splice(uses_.begin(), uses_, found->second.use);
    } else {
      if (directories_.size() >= kOpenDirectories) {
        directories_.erase(uses_.back());
        uses_.pop_back();
      }
      // The save directory may be a link, since the user named it; no
      // directory below it is followed.
      auto opened = directory.empty()
                        ? std::make_shared<const DirectoryStamps>(save_dir_, DirectoryStamps::Link::kFollowed)
                        : std::make_shared<const DirectoryStamps>(save_dir_ + FromRecordPath(std::string(directory)),
                                                                  DirectoryStamps::Link::kRefused);
      uses_.emplace_front(directory);
      found = directories_.emplace(std::string(directory), Open{std::move(opened), uses_.begin()}).first;
    }
    stamps = found->second.stamps;  // kept open for this lookup, even once let go of
  }
  return stamps->Of(name);
}

}  // namespace qs

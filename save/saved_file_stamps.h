#pragma once
// The stamps of the files a save run finds recorded, looked up by their
// paths in the record from any of the run's threads. A directory is opened
// once for the files looked up in it one after another, and its files are
// looked up in it by name; only the directories used last stay open, so a
// save of many item directories does not run out of file descriptors.

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/directory_stamps.h"

namespace qs {

class SavedFileStamps {
 public:
  // save_dir ends in the separator.
  explicit SavedFileStamps(std::string save_dir) : save_dir_(std::move(save_dir)) {}

  // The stamp of the regular file at that path below the save directory
  // ("/" between the names); nothing when there is none there, or a link
  // stands at it or at its directory.
  std::optional<FileStamp> Of(std::string_view record_path) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  struct Open {
    std::shared_ptr<const DirectoryStamps> stamps;
    std::list<std::string>::iterator use;  // its place in uses_
  };
  std::string save_dir_;
  mutable std::mutex mutex_;
  // By their paths in the record; "" for the save directory.
  mutable std::unordered_map<std::string, Open, Hash, std::equal_to<>> directories_;
  mutable std::list<std::string> uses_;  // the open directories, the one used last first
};

}  // namespace qs

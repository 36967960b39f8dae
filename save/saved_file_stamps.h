#pragma once
// The stamps of the files a save run finds recorded, looked up by their
// paths in the record from any of the run's threads. Each directory is
// opened once, and its files are looked up in it by name.

#include <functional>
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
  std::string save_dir_;
  mutable std::mutex mutex_;
  mutable std::unordered_map<std::string, std::unique_ptr<const DirectoryStamps>, Hash, std::equal_to<>>
      directories_;  // by their paths in the record; "" for the save directory
};

}  // namespace qs

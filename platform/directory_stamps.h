#pragma once
// A directory held open, in which regular files are stamped by their names:
// where the system allows it, without walking the directory's whole path
// again for each file, as a save run that looks at every file it saved
// before would.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace qs {

class DirectoryStamps {
 public:
  // A link in the directory's own place is followed only when the user
  // named it; a directory that cannot be opened has no files.
  enum class Link { kRefused, kFollowed };
  DirectoryStamps(std::string directory, Link link);
  ~DirectoryStamps();
  DirectoryStamps(const DirectoryStamps&) = delete;
  DirectoryStamps& operator=(const DirectoryStamps&) = delete;

  // The stamp of the regular file of that name in the directory, a link not
  // followed; nothing when there is none. From any thread.
  std::optional<FileStamp> Of(const std::string& name) const;

 private:
  std::string directory_;
  std::intptr_t handle_ = -1;  // the open directory, where the system has one; else -1
};

}  // namespace qs

#include "platform/directory_stamps.h"

#include <utility>

#include "platform/system.h"

namespace qs {

// Windows looks a file up by its whole path in any case: each is stamped by
// it, and a directory that is a link has no files.
DirectoryStamps::DirectoryStamps(std::string directory, Link link)
    : directory_(std::move(directory)),
      handle_((link == Link::kRefused ? IsPlainDirectory(directory_) : IsDirectory(directory_)) ? 0 : -1) {}

DirectoryStamps::~DirectoryStamps() = default;

std::optional<FileStamp> DirectoryStamps::Of(const std::string& name) const {
  if (handle_ < 0) return std::nullopt;
  return RegularFileStamp(directory_ + PathSeparator() + name);
}

}  // namespace qs

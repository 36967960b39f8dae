#include "platform/directory_stamps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/posix/stat_stamp.h"

namespace qs {

DirectoryStamps::DirectoryStamps(std::string directory, Link link)
    : directory_(std::move(directory)),
      handle_(::open(directory_.c_str(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC | (link == Link::kRefused ? O_NOFOLLOW : 0))) {}

DirectoryStamps::~DirectoryStamps() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::optional<FileStamp> DirectoryStamps::Of(const std::string& name) const {
  struct stat info {};
  if (handle_ < 0 || ::fstatat(static_cast<int>(handle_), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(info.st_mode))
    return std::nullopt;
  return StampOf(info);
}

}  // namespace qs

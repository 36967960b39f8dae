#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/file_lock.h"

namespace qs {

FileLock::FileLock(const std::string& path) : handle_(-1) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "cannot open the lock " + path);
  handle_ = fd;
  int taken;
  while ((taken = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (taken != 0 && errno == EWOULDBLOCK) {
    waited_ = true;
    while ((taken = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
  }
  if (taken != 0) {
    const int error = errno;
    ::close(fd);
    handle_ = -1;
    throw std::system_error(error, std::generic_category(), "cannot lock " + path);
  }
}

FileLock::~FileLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace qs

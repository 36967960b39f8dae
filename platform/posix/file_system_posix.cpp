#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/file_system.h"
#include "platform/temporary_name.h"

namespace qs {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path) {
  throw std::system_error(errno, std::generic_category(), what + " " + path);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

bool ProcessRuns(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The first of some fresh temporary names in the directory of path that
// make(name) creates; nothing, with errno set, when none could be made.
template <typename Make>
std::string UnderTemporaryName(const std::string& path, Make make) {
  const long pid = ::getpid();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = DirectoryOf(path) + TemporaryName(pid, UnguessableNumber());
    if (make(name)) return name;
    if (errno != EEXIST) break;
  }
  return {};
}

// Gives an unnamed file a name, which must be free. Kernels before 6.10
// let only a privileged caller link a descriptor itself; its entry under
// /proc serves the others.
bool LinkUnnamed(int fd, const std::string& name) {
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno != ENOENT) return false;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void MakeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0) ThrowErrno("cannot create the directory", path);
}

ReplacingFile::ReplacingFile(std::string path, Marks marks)
    : path_(std::move(path)), handle_(-1) {
  struct stat replaced {};
  const bool keep = marks == Marks::kKept && ::stat(path_.c_str(), &replaced) == 0;
  const std::string directory = DirectoryOf(path_);
  handle_ = ::open(directory.empty() ? "." : directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (handle_ < 0) {
    // A file system without unnamed files: O_EXCL with O_NOFOLLOW, so that a
    // name planted in the directory, a link above all, is never opened.
    temporary_ = UnderTemporaryName(path_, [this](const std::string& name) {
      handle_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      return handle_ >= 0;
    });
  }
  if (handle_ < 0) ThrowErrno("cannot create", path_);
  // Set after creation: the mode given to open is cut by the umask.
  if (keep && ::fchmod(static_cast<int>(handle_), replaced.st_mode & 07777) != 0)
    ThrowErrno("cannot set the permissions of", path_);
}

ReplacingFile::~ReplacingFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void ReplacingFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno("cannot write", path_);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void ReplacingFile::Commit() {
  const int fd = static_cast<int>(handle_);
  if (temporary_.empty()) {
    // The unnamed file takes its final name where that name is free. Only a
    // file that has a name outlives its descriptor, so it is closed after.
    if (LinkUnnamed(fd, path_)) {
      handle_ = -1;
      if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(path_.c_str());
        errno = error;
        ThrowErrno("cannot write", path_);
      }
      return;
    }
    if (errno != EEXIST) ThrowErrno("cannot create", path_);
    // It replaces the entry there under a temporary name of its own.
    temporary_ = UnderTemporaryName(path_, [fd](const std::string& name) { return LinkUnnamed(fd, name); });
    if (temporary_.empty()) ThrowErrno("cannot create", path_);
  }
  handle_ = -1;
  // A close that fails after writes can mean written data was lost.
  if (::close(fd) != 0) ThrowErrno("cannot write", path_);
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) ThrowErrno("cannot create", path_);
  temporary_.clear();
}

void RemoveStaleTemporaries(const std::string& directory) {
  DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!listing) return;
  const int fd = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    const auto pid = TemporaryNameWriter(entry->d_name);
    if (pid && !ProcessRuns(*pid)) ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(listing);
}

bool LeadingDotHides() { return true; }

std::size_t FileNameLength(std::string_view name) { return name.size(); }

}  // namespace qs

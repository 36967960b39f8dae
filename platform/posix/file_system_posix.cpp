#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/file_system.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/stat_stamp.h"
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

// Reads until the buffer is full or the file ends; the count read, or -1.
ssize_t ReadFully(int fd, std::string& buffer) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  return static_cast<ssize_t>(filled);
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

bool IsPlainDirectory(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool OwnedByUser(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid();
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

// The stamp is taken from the open file once nothing more is written to it:
// naming, renaming and closing it leave its size and time as they are, and a
// network file system sends what it holds back before it answers.
FileStamp ReplacingFile::Commit() {
  const int fd = static_cast<int>(handle_);
  struct stat info {};
  if (::fstat(fd, &info) != 0) ThrowErrno("cannot write", path_);
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
      return StampOf(info);
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
  return StampOf(info);
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

std::optional<FileStamp> RegularFileStamp(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return StampOf(info);
}

bool SameFileContents(const std::string& first, const std::string& second) {
  const auto open_regular = [](const std::string& path, struct stat& info) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.IsOpen() && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))) fd.Close();
    return fd;
  };
  struct stat first_info {}, second_info {};
  FileDescriptor a = open_regular(first, first_info);
  FileDescriptor b = open_regular(second, second_info);
  if (!a.IsOpen() || !b.IsOpen() || first_info.st_size != second_info.st_size) return false;
  std::string first_bytes(1 << 16, '\0'), second_bytes(1 << 16, '\0');
  for (;;) {
    const ssize_t got = ReadFully(a.Get(), first_bytes);
    if (got < 0 || ReadFully(b.Get(), second_bytes) != got)
      return false;
    if (got == 0) return true;
    if (first_bytes.compare(0, static_cast<std::size_t>(got), second_bytes, 0, static_cast<std::size_t>(got)) != 0)
      return false;
  }
}

std::optional<std::string> ReadRegularFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.IsOpen()) {
    if (errno == ENOENT) return std::nullopt;
    ThrowErrno("cannot open", path);
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) ThrowErrno("cannot read", path);
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    ThrowErrno("not a regular file:", path);
  }
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  const ssize_t got = ReadFully(fd.Get(), bytes);
  if (got < 0) ThrowErrno("cannot read", path);
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

std::optional<std::string> ReadProblem(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.IsOpen()) {
    // A file in place of a directory on the way: no entry of that name.
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    return std::generic_category().message(errno);
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return std::generic_category().message(errno);
  if (S_ISDIR(info.st_mode)) return std::generic_category().message(EISDIR);
  if (!S_ISREG(info.st_mode)) return std::string("it is not a regular file");
  return std::nullopt;
}

std::vector<std::string> DirectoryNames(const std::string& directory) {
  std::vector<std::string> names;
  DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!listing) return names;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(listing);
  return names;
}

void RenameEntry(const std::string& from, const std::string& to) {
  // link and unlink rather than rename, which would replace an entry there.
  if (::link(from.c_str(), to.c_str()) != 0) {
    if (errno != EPERM && errno != EXDEV && errno != ENOTSUP) ThrowErrno("cannot rename", from);
    if (PathExists(to)) {
      errno = EEXIST;
      ThrowErrno("cannot rename", from);
    }
    if (::rename(from.c_str(), to.c_str()) != 0) ThrowErrno("cannot rename", from);
    return;
  }
  ::unlink(from.c_str());
}

bool RemoveEntry(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || ::rmdir(path.c_str()) == 0;
}

void HideFile(const std::string&) {}

bool LeadingDotHides() { return true; }

std::size_t FileNameLength(std::string_view name) { return name.size(); }

std::optional<std::string> MissingDrive(const std::string&) { return std::nullopt; }

}  // namespace qs

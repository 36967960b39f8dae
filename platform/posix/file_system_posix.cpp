#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/file_system.h"
#include "platform/posix/file_descriptor.h"

namespace qs {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path) {
  throw std::system_error(errno, std::generic_category(), what + " " + path);
}

// Creates the file, or empties it when it exists; created tells which.
int OpenForWriting(const std::string& path, bool& created) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  created = fd >= 0;
  if (fd >= 0 || errno != EEXIST) return fd;
  return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
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

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  // A file this call creates is removed again when the write fails, so a
  // failure leaves nothing half written behind.
  bool created = true;
  FileDescriptor file(OpenForWriting(path, created));
  if (!file.IsOpen()) ThrowErrno("cannot create", path);
  const auto fail = [&] {
    const int error = errno;
    file.Close();
    if (created) ::unlink(path.c_str());
    errno = error;
    ThrowErrno("cannot write", path);
  };
  while (!bytes.empty()) {
    const ssize_t written = ::write(file.Get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (file.Close() != 0) fail();
}

std::size_t FileNameLength(std::string_view name) { return name.size(); }

}  // namespace qs

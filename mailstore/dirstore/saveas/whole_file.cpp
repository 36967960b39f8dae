#include "mailstore/dirstore/saveas/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mailstore/dirstore/directory.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now, so that a failing close is reported.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw MailStoreError("cannot " + what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

std::string ReadWholeFile(const Directory& directory, const std::string& name) {
  const std::string path = directory.Path() + "/" + name;
  FileDescriptor file(::openat(directory.Descriptor(), name.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) Fail("read", path);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      Fail("read", path);
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (file.Get() < 0) Fail("write", path);
  while (!bytes.empty()) {
    const ssize_t count = ::write(file.Get(), bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      Fail("write", path);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  if (file.Close() != 0) Fail("write", path);
}

}  // namespace qs::dirstore

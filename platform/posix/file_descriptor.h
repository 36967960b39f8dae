#pragma once
// An open file descriptor, closed when it goes out of scope.

#include <unistd.h>

#include <utility>

namespace qs {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }

  bool IsOpen() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  // Closes now and returns close's result: a close that fails after writes
  // can mean written data was lost. Closing again does nothing.
  int Close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }
  // Hands the descriptor to an owner that closes it itself (fdopendir).
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

}  // namespace qs

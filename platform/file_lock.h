#pragma once
// A lock on a file that one process at a time holds, for as long as the
// object lives. The system releases it when the process ends in any way, so
// a killed holder never leaves it taken.

#include <cstdint>
#include <string>

namespace qs {

class FileLock {
 public:
  // Opens the file (made when missing; a link there is refused) and takes
  // the lock, waiting while another process holds it. Throws
  // std::system_error naming the path when it cannot.
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // True when another process held the lock and this one waited for it.
  bool Waited() const { return waited_; }

 private:
  std::intptr_t handle_;  // the system's handle of the open file
  bool waited_ = false;
};

}  // namespace qs

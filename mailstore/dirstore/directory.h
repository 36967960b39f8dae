#pragma once
// An open directory, so that the files in it are opened without walking the
// whole path from the root again for each one.

#include <string>

namespace qs::dirstore {

class Directory {
 public:
  // Throws MailStoreError when the directory cannot be opened.
  explicit Directory(std::string path);
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  int Descriptor() const { return fd_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_;
};

}  // namespace qs::dirstore

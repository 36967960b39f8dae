#pragma once
// An open directory, so that the files in it are opened without walking the
// whole path from the root again for each one.

#include <string>

#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

class Directory {
 public:
  // Throws MailStoreError when the directory cannot be opened.
  explicit Directory(std::string path);
  int Descriptor() const { return fd_.Get(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  FileDescriptor fd_;
};

}  // namespace qs::dirstore

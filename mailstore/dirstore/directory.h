#pragma once
// An open directory, so that the files in it are opened without walking the
// whole path from the root again for each one.

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

// Which file a name leads to, whatever the path: a directory met twice is
// recognised by it.
struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

// What a name in a directory is, links not followed. File: a regular file.
enum class EntryKind { Directory, File, Link, Other };

struct DirectoryEntry {
  std::string name;
  EntryKind kind;
};

EntryKind KindOf(mode_t mode);

class Directory {
 public:
  // The directory at path, links followed: the mail root as the user named
  // it. Throws MailStoreError when it cannot be opened.
  explicit Directory(std::string path);
  Directory(std::string path, FileDescriptor fd);

  // The directory at relative ("a/b") below parent, reached without
  // following any link; nothing (errno telling why) when there is none.
  static std::shared_ptr<const Directory> Below(const Directory& parent, std::string_view relative);

  int Descriptor() const { return fd_.Get(); }
  const std::string& Path() const { return path_; }
  // Throws MailStoreError when the directory cannot be examined.
  FileIdentity Identity() const;

  // Every name but "." and "..", in no particular order. Throws
  // MailStoreError when the directory cannot be read.
  std::vector<DirectoryEntry> Entries() const;
  // The status of one name in it, links not followed; nothing (errno
  // telling why) when that cannot be had.
  std::optional<struct stat> Status(const std::string& name) const;

 private:
  std::string path_;
  FileDescriptor fd_;
};

// Opens relative (names separated by "/") below the directory descriptor
// at without following a link anywhere on the way; flags are open's for the
// last name. The result is not open (errno telling why) on failure.
FileDescriptor OpenBelow(int at, std::string_view relative, int flags);

}  // namespace qs::dirstore

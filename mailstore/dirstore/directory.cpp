#include "mailstore/dirstore/directory.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

struct DirStreamCloser {
  void operator()(DIR* stream) const { closedir(stream); }
};

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw MailStoreError("cannot " + what + " the folder " + path + ": " + std::strerror(errno));
}

}  // namespace

EntryKind KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::Directory;
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Other;
}

Directory::Directory(std::string path)
    : path_(std::move(path)), fd_(open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (!fd_.IsOpen()) Fail("open", path_);
}

Directory::Directory(std::string path, FileDescriptor fd) : path_(std::move(path)), fd_(std::move(fd)) {}

std::shared_ptr<const Directory> Directory::Below(const Directory& parent, std::string_view relative) {
  FileDescriptor fd = OpenBelow(parent.Descriptor(), relative, O_RDONLY | O_DIRECTORY);
  if (!fd.IsOpen()) return nullptr;
  return std::make_shared<const Directory>(parent.Path() + "/" + std::string(relative), std::move(fd));
}

FileIdentity Directory::Identity() const {
  struct stat status {};
  if (fstat(fd_.Get(), &status) != 0) Fail("examine", path_);
  return {status.st_dev, status.st_ino};
}

std::vector<DirectoryEntry> Directory::Entries() const {
  // A descriptor of its own, so that reading the names moves no offset that
  // this object's descriptor shares.
  FileDescriptor own(openat(fd_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!own.IsOpen()) Fail("read", path_);
  const std::unique_ptr<DIR, DirStreamCloser> stream(fdopendir(own.Get()));
  if (!stream) Fail("read", path_);
  own.Release();
  std::vector<DirectoryEntry> entries;
  for (errno = 0; const dirent* entry = readdir(stream.get()); errno = 0) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    EntryKind kind = EntryKind::Other;
    switch (entry->d_type) {
      case DT_DIR: kind = EntryKind::Directory; break;
      case DT_REG: kind = EntryKind::File; break;
      case DT_LNK: kind = EntryKind::Link; break;
      case DT_UNKNOWN:
        // Some file systems do not say; a name gone meanwhile is left out.
        if (const auto status = Status(name)) kind = KindOf(status->st_mode);
        else continue;
        break;
      default: break;
    }
    entries.push_back({std::move(name), kind});
  }
  if (errno != 0) Fail("read", path_);
  return entries;
}

std::optional<struct stat> Directory::Status(const std::string& name) const {
  struct stat status {};
  if (fstatat(fd_.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return status;
}

namespace {

// openat with a name that need not end in a NUL; copied on the stack where
// it fits, as every name a file system allows does.
int OpenAt(int at, std::string_view name, int flags) {
  std::array<char, 256> terminated;
  if (name.size() >= terminated.size()) return openat(at, std::string(name).c_str(), flags);
  *std::copy(name.begin(), name.end(), terminated.begin()) = '\0';
  return openat(at, terminated.data(), flags);
}

}  // namespace

FileDescriptor OpenBelow(int at, std::string_view relative, int flags) {
  FileDescriptor current(-1);
  for (auto slash = relative.find('/'); slash != std::string_view::npos; slash = relative.find('/')) {
    FileDescriptor next(OpenAt(at, relative.substr(0, slash), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next.IsOpen()) return next;
    current = std::move(next);
    at = current.Get();
    relative.remove_prefix(slash + 1);
  }
  return FileDescriptor(OpenAt(at, relative, flags | O_NOFOLLOW | O_CLOEXEC));
}

}  // namespace qs::dirstore

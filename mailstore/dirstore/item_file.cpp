#include "mailstore/dirstore/item_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "mailstore/dirstore/directory.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

[[noreturn]] void Fail(const Directory& base, const std::string& name) {
  const std::string what = "cannot read " + base.Path() + "/" + name + ": " + std::strerror(errno);
  if (errno == ENOENT) throw ItemGone(what);
  throw ItemUnreadable(what);
}

struct stat Status(const Directory& base, const std::string& name, const FileDescriptor& file) {
  struct stat status {};
  if (fstat(file.Get(), &status) != 0) Fail(base, name);
  return status;
}

}  // namespace

FileDescriptor OpenItemFile(const Directory& base, const std::string& name) {
  FileDescriptor file = OpenBelow(base.Descriptor(), name, O_RDONLY | O_NONBLOCK);
  if (!file.IsOpen()) Fail(base, name);
  if (!S_ISREG(Status(base, name, file).st_mode))
    throw ItemUnreadable("cannot read " + base.Path() + "/" + name + ": it is not a mail file");
  return file;
}

long long ItemFileModified(const Directory& base, const std::string& name) {
  const FileDescriptor file = OpenItemFile(base, name);
  return static_cast<long long>(Status(base, name, file).st_mtime);
}

}  // namespace qs::dirstore

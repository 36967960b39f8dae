#include "mailstore/dirstore/item_file.h"

#include <fcntl.h>

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

}  // namespace

FileDescriptor OpenItemUnexamined(const Directory& base, const std::string& name) {
  FileDescriptor file = OpenBelow(base.Descriptor(), name, O_RDONLY | O_NONBLOCK);
  if (!file.IsOpen()) Fail(base, name);
  return file;
}

std::optional<ItemFile> OpenAnyItemFile(const Directory& base, const std::string& name) {
  ItemFile file{OpenBelow(base.Descriptor(), name, O_RDONLY | O_NONBLOCK), {}};
  if (!file.descriptor.IsOpen()) return std::nullopt;
  if (fstat(file.descriptor.Get(), &file.status) != 0) {
    const int error = errno;
    file.descriptor.Close();
    errno = error;
    return std::nullopt;
  }
  return file;
}

ItemFile OpenItemFile(const Directory& base, const std::string& name) {
  std::optional<ItemFile> file = OpenAnyItemFile(base, name);
  if (!file) Fail(base, name);
  if (!S_ISREG(file->status.st_mode))
    throw ItemUnreadable("cannot read " + base.Path() + "/" + name + ": it is not a mail file");
  return std::move(*file);
}

long long ItemFileModified(const Directory& base, const std::string& name) {
  return static_cast<long long>(OpenItemFile(base, name).status.st_mtime);
}

}  // namespace qs::dirstore

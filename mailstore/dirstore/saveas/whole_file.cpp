#include "mailstore/dirstore/saveas/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/mail_store.h"
#include "platform/file_system.h"
#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

std::string ReadWholeFile(const Directory& directory, const std::string& name) {
  const std::string path = directory.Path() + "/" + name;
  const auto fail = [&path] {
    throw MailStoreError("cannot read " + path + ": " + std::strerror(errno));
  };
  const FileDescriptor file = OpenItemFile(directory, name);
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) fail();
  // One read for a file whose size holds still; a growing file is read on.
  std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t count = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
    if (count < 0) {
      if (errno == EINTR) continue;
      fail();
    }
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
  return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  try {
    qs::WriteWholeFile(path, bytes);
  } catch (const std::system_error& error) {
    throw MailStoreError(error.what());
  }
}

}  // namespace qs::dirstore

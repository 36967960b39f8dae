#include "mailstore/dirstore/mbox_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "mailstore/dirstore/item_file.h"

namespace qs::dirstore {

bool StartsWithFromLine(const Directory& directory, const std::string& name) {
  const FileDescriptor file = OpenBelow(directory.Descriptor(), name, O_RDONLY | O_NONBLOCK);
  if (!file.IsOpen()) return false;
  std::array<char, 256> start;
  ssize_t got;
  do got = pread(file.Get(), start.data(), start.size(), 0);
  while (got < 0 && errno == EINTR);
  return got > 0 && IsFromLine(std::string_view(start.data(), static_cast<std::size_t>(got)));
}

std::shared_ptr<const MboxFile> OpenMboxFile(const Directory& directory, const std::string& name) {
  ItemFile opened = OpenItemFile(directory, name);
  const struct stat& status = opened.status;
  return std::make_shared<const MboxFile>(
      MboxFile{std::move(opened.descriptor), directory.Path() + "/" + name, static_cast<std::uint64_t>(status.st_size),
               FileIdentity{status.st_dev, status.st_ino},
               static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec});
}

void ListMbox(const MboxFile& file, const std::function<void(const MboxMessage&)>& found) {
  std::unordered_map<std::uint64_t, std::uint32_t> seen;
  ScanMbox(file.descriptor.Get(), file.path, 0, file.size, [&](const MboxMessage& message) {
    MboxMessage numbered = message;
    numbered.number = seen[message.hash]++;
    found(numbered);
    return true;
  });
}

std::optional<MboxMessage> MboxMessageAt(const MboxFile& file, std::uint64_t hash, std::uint32_t number,
                                         std::uint64_t hint) {
  std::optional<MboxMessage> found;
  if (hint < file.size)
    ScanMbox(file.descriptor.Get(), file.path, hint, file.size, [&](const MboxMessage& message) {
      if (message.from_line == hint && message.hash == hash) {
        found = message;
        found->number = number;
      }
      return false;
    });
  return found;
}

}  // namespace qs::dirstore

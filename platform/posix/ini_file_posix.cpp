#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/ini/ini_file.h"
#include "platform/posix/file_descriptor.h"

namespace qs::ini {

namespace {

// As many links as the kernel itself follows before it gives up.
constexpr int kMaxLinks = 40;

bool IsAbsent(int error) { return error == ENOENT || error == ENOTDIR; }

// The file a chain of symbolic links ends at, which need not exist yet; none
// for a loop or a link that cannot be read.
std::optional<std::string> LinkTarget(std::string path) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
      if (IsAbsent(errno)) return path;
      return std::nullopt;
    }
    if (!S_ISLNK(status.st_mode)) return path;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    if (target.front() == '/') {
      path = std::move(target);
    } else {
      const auto slash = path.rfind('/');
      path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
    }
  }
  return std::nullopt;
}

}  // namespace

FileContents ReadIniFile(const std::string& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0)
    return {IsAbsent(errno) ? FileState::kMissing : FileState::kUnreadable, {}};
  if (!S_ISREG(status.st_mode)) return {FileState::kUnreadable, {}};
  // Not blocking: something else may have taken the file's place since.
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) return {IsAbsent(errno) ? FileState::kMissing : FileState::kUnreadable, {}};
  if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode))
    return {FileState::kUnreadable, {}};
  FileContents contents{FileState::kRead, {}};
  char buffer[1 << 14];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {FileState::kUnreadable, {}};
    if (got == 0) return contents;
    contents.bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> WritableTarget(const std::string& file) {
  auto target = LinkTarget(file);
  if (!target) return std::nullopt;
  struct stat status {};
  if (::stat(target->c_str(), &status) != 0) {
    if (IsAbsent(errno)) return target;
    return std::nullopt;
  }
  // Root may write anything, so a file nobody may write is refused here, as
  // Windows refuses a file marked read-only.
  if (!S_ISREG(status.st_mode) || (status.st_mode & 0222) == 0 ||
      ::access(target->c_str(), W_OK) != 0)
    return std::nullopt;
  return target;
}

}  // namespace qs::ini

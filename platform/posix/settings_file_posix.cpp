#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/posix/config_directory.h"
#include "platform/posix/file_descriptor.h"
#include "platform/settings_file.h"
#include "platform/system.h"

namespace qs {

namespace {

[[noreturn]] void Refuse(const std::string& directory, int error, const std::string& why = {}) {
  throw std::system_error(error, std::generic_category(),
                          "cannot make the settings directory " + directory + why);
}

}  // namespace

std::string DefaultSettingsFile(const std::string& file_name) {
  const std::string beside = ProgramDirectory() + "/" + file_name;
  struct stat status {};
  if (::stat(beside.c_str(), &status) == 0) return beside;
  return ProgramConfigDirectory() + "/" + file_name;
}

void MakeSettingsDirectory(const std::string& settings_file) {
  const std::string directory = ProgramConfigDirectory();
  const auto slash = settings_file.rfind('/');
  if (slash == std::string::npos || settings_file.compare(0, slash, directory) != 0 ||
      slash != directory.size())
    return;
  // The configuration directory may be a link of the user's own; only the
  // program's directory inside it is held to be a real directory.
  const std::string config = UserConfigDirectory();
  if (::mkdir(config.c_str(), 0700) != 0 && errno != EEXIST) Refuse(config, errno);
  const FileDescriptor base(::open(config.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!base.IsOpen()) Refuse(config, errno);
  const char* const name = directory.c_str() + config.size() + 1;
  if (::mkdirat(base.Get(), name, 0700) != 0 && errno != EEXIST) Refuse(directory, errno);
  const FileDescriptor own(
      ::openat(base.Get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!own.IsOpen()) {
    const int error = errno;
    struct stat status {};
    if (::fstatat(base.Get(), name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISLNK(status.st_mode)) Refuse(directory, error, " (a symbolic link is in its place)");
      if (!S_ISDIR(status.st_mode))
        Refuse(directory, error, " (a file that is no directory is in its place)");
    }
    Refuse(directory, error);
  }
  struct stat status {};
  if (::fstat(own.Get(), &status) != 0) Refuse(directory, errno);
  if (status.st_uid != ::geteuid()) Refuse(directory, EPERM, " (it belongs to another user)");
}

}  // namespace qs

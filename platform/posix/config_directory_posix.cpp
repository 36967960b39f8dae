#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/config_directory.h"

namespace qs {

std::string UserConfigDirectory() {
  // A relative value is to be ignored, as the base directory rules say.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') return config;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
    return std::string(user->pw_dir) + "/.config";
  return ".config";
}

std::string ProgramConfigDirectory() { return UserConfigDirectory() + "/quillstow"; }

}  // namespace qs

#include <cstdlib>
#include <string>

#include "platform/registry.h"

namespace qs {

std::unique_ptr<Registry> UserRegistry() {
  std::string directory;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    directory = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    directory = std::string(home) + "/.config";
  else
    directory = ".config";
  return RegistryInFile(directory + "/quillstow/registry.txt");
}

}  // namespace qs

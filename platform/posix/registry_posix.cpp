#include "platform/posix/config_directory.h"
#include "platform/registry.h"

namespace qs {

std::unique_ptr<Registry> UserRegistry() {
  return RegistryInFile(ProgramConfigDirectory() + "/registry.txt");
}

}  // namespace qs

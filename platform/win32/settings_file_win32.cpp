#include "platform/settings_file.h"
#include "platform/system.h"

namespace qs {

// The Windows build is portable: its settings always travel with it.
std::string DefaultSettingsFile(const std::string& file_name) {
  return ProgramDirectory() + "\\" + file_name;
}

void MakeSettingsDirectory(const std::string&) {}

}  // namespace qs

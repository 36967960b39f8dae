#include "save/make_dirs.h"

#include <system_error>

#include "platform/file_system.h"
#include "platform/system.h"

namespace qs {

void MakeDirs(const std::string& path) {
  if (PathExists(path)) return;
  const auto separator = path.rfind(PathSeparator());
  if (separator == std::string::npos) return;
  MakeDirs(path.substr(0, separator));
  try {
    MakeDirectory(path);
  } catch (const std::system_error&) {
    // Another run saving at the same time may have made it a moment ago.
    if (!IsDirectory(path)) throw;
  }
}

}  // namespace qs

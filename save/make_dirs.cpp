#include "save/make_dirs.h"

#include "platform/file_system.h"
#include "platform/system.h"

namespace qs {

void MakeDirs(const std::string& path) {
  if (PathExists(path)) return;
  const auto separator = path.rfind(PathSeparator());
  if (separator == std::string::npos) return;
  MakeDirs(path.substr(0, separator));
  MakeDirectory(path);
}

}  // namespace qs

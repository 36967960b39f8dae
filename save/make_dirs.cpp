#include "save/make_dirs.h"

#include <algorithm>
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

bool MakePlainDirs(const std::string& base, const std::string& path) {
  for (std::size_t end = base.size(); end <= path.size(); ++end) {
    end = std::min(path.find(PathSeparator(), end), path.size());
    const std::string level = path.substr(0, end);
    if (!PathExists(level)) {
      try {
        MakeDirectory(level);
      } catch (const std::system_error&) {
        if (!PathExists(level)) throw;  // else another run made it a moment ago
      }
    }
    if (!IsPlainDirectory(level)) {
      if (IsDirectory(level)) return false;
      throw std::system_error(std::make_error_code(std::errc::not_a_directory), level);
    }
  }
  return true;
}

}  // namespace qs

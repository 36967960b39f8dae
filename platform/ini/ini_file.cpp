#include "platform/ini/ini_file.h"

#include <system_error>

#include "platform/file_system.h"

namespace qs::ini {

bool ReplaceIniFile(const std::string& file, std::string_view bytes) {
  const auto target = WritableTarget(file);
  if (!target) return false;
  try {
    ReplacingFile replacement(*target, ReplacingFile::Marks::kKept);
    replacement.Write(bytes);
    replacement.Commit();
    return true;
  } catch (const std::system_error&) {
    return false;  // the caller reports the settings file as not saved
  }
}

}  // namespace qs::ini

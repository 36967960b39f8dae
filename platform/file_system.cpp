#include "platform/file_system.h"

namespace qs {

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  ReplacingFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace qs

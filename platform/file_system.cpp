#include "platform/file_system.h"

namespace qs {

FileStamp WriteWholeFile(const std::string& path, std::string_view bytes) {
  ReplacingFile file(path);
  file.Write(bytes);
  return file.Commit();
}

}  // namespace qs

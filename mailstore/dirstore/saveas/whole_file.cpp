#include "mailstore/dirstore/saveas/whole_file.h"

#include <system_error>

#include "mailstore/mail_store.h"
#include "platform/file_system.h"

namespace qs::dirstore {

void WriteFileFrom(const std::string& path, const ByteSource& source) {
  WriteFileInPieces(path, [&source](const ByteSink& sink) { source.WriteTo(sink); });
}

void WriteFileInPieces(const std::string& path, const std::function<void(const ByteSink&)>& write) {
  try {
    ReplacingFile file(path);
    write([&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
  } catch (const std::system_error& error) {
    throw MailStoreError(error.what());
  }
}

}  // namespace qs::dirstore

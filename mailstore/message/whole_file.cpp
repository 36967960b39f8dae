#include "mailstore/message/whole_file.h"

#include <system_error>

#include "mailstore/mail_store.h"
#include "mailstore/message/piece_writer.h"
#include "platform/file_system.h"

namespace qs {

FileStamp WriteFileFrom(const std::string& path, const ByteSource& source) {
  return WriteFileInPieces(path, [&source](const ByteSink& sink) { source.WriteTo(sink); });
}

FileStamp WriteFileInPieces(const std::string& path,
                            const std::function<void(const ByteSink&)>& write) {
  try {
    ReplacingFile file(path);
    // Forms come in many small pieces: gathered, they take a few writes.
    const ByteSink to_file = [&file](std::string_view piece) { file.Write(piece); };
    PieceWriter gathered(to_file);
    write([&gathered](std::string_view piece) { gathered += piece; });
    gathered.Flush();
    return file.Commit();
  } catch (const std::system_error& error) {
    throw MailStoreError(error.what());
  }
}

}  // namespace qs

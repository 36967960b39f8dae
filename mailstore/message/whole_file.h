#pragma once
// Saved files, which take their names only when whole.
// Both give the stamp of the file written. Both throw MailStoreError with the
// system's reason when the file cannot be written, and leave no file behind
// then.

#include <functional>
#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"
#include "platform/file_system.h"

namespace qs {

FileStamp WriteFileFrom(const std::string& path, const ByteSource& source);

// write hands the file's bytes to its sink in pieces.
FileStamp WriteFileInPieces(const std::string& path,
                            const std::function<void(const ByteSink&)>& write);

}  // namespace qs

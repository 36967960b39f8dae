#pragma once
// Saved files, written under a temporary name and put in place when whole.
// Both throw MailStoreError with the system's reason when the file cannot be
// written, and leave no file behind then.

#include <functional>
#include <string>
#include <string_view>

#include "mailstore/dirstore/saveas/byte_source.h"

namespace qs::dirstore {

void WriteFileFrom(const std::string& path, const ByteSource& source);

// write hands the file's bytes to its sink in pieces.
void WriteFileInPieces(const std::string& path, const std::function<void(const ByteSink&)>& write);

}  // namespace qs::dirstore

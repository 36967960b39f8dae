#pragma once
// The bytes of an INI file as the UTF-8 text the document works on, and
// back. A file that begins with a UTF-16LE byte order mark is UTF-16LE and
// stays so when written back, mark and all; any other file is taken as it
// is (a UTF-8 mark is the document's to keep).

#include <string>
#include <string_view>

namespace qs::ini {

enum class FileEncoding { kAsIs, kUtf16Le };

struct FileText {
  FileEncoding encoding = FileEncoding::kAsIs;
  std::string text;
};

// Halves of surrogate pairs that are alone become U+FFFD; an odd last
// byte is no character and is dropped.
FileText DecodeFileText(std::string_view bytes);

// Bytes that start no valid UTF-8 sequence become U+FFFD in UTF-16.
std::string EncodeFileText(std::string_view text, FileEncoding encoding);

}  // namespace qs::ini

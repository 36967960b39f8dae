#pragma once
// Text crosses into Win32 as UTF-16 and comes back as UTF-8; nothing else in
// the program sees wide strings. The coding is platform/text's: a byte that
// starts no valid UTF-8 sequence, or a surrogate that is not half of a pair,
// becomes U+FFFD.

#include <string>
#include <string_view>

namespace qs::win32 {

std::wstring ToUtf16(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace qs::win32

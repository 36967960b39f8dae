#include "platform/win32/utf16.h"

#include "platform/text.h"

namespace qs::win32 {

// wchar_t is a UTF-16 unit on Windows, but another type than char16_t: the
// units are copied across.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring ToUtf16(std::string_view text) {
  const std::u16string units = Utf16Of(text);
  return std::wstring(units.begin(), units.end());
}

std::string ToUtf8(std::wstring_view text) {
  return Utf8OfUtf16(std::u16string(text.begin(), text.end()));
}

}  // namespace qs::win32

#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/win32/utf16.h"

namespace qs {

std::string ToSystemCharset(std::string_view utf8) {
  const UINT code_page = GetACP();
  if (code_page == CP_UTF8 || utf8.empty()) return std::string(utf8);
  const std::wstring wide = win32::ToUtf16(utf8);
  // No best fit: a character outside the code page becomes "?" rather than a
  // look-alike that means something else.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int wide_length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(code_page, flags, wide.data(), wide_length, nullptr, 0,
                                       "?", nullptr);
  std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(code_page, flags, wide.data(), wide_length, result.data(), size, "?",
                        nullptr);
  return result;
}

}  // namespace qs

#include <windows.h>

#include <climits>

#include "mailstore/mail_store.h"
#include "mailstore/properties/code_page.h"
#include "platform/text.h"
#include "platform/win32/utf16.h"

namespace qs {

bool KnownCodePage(std::uint32_t code_page) { return code_page != 0 && IsValidCodePage(code_page); }

std::string CodePageToUtf8(std::string_view bytes, std::uint32_t code_page) {
  if (code_page == 1200) return Utf8OfUtf16Le(bytes);
  if (bytes.empty()) return {};
  if (bytes.size() > INT_MAX / 2) throw MailStoreError("a text of the message is too long to convert");
  if (!KnownCodePage(code_page)) code_page = kWindows1252;
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) MultiByteToWideChar(code_page, 0, bytes.data(), length, wide.data(), units);
  // The system gives a byte its code page leaves undefined as the C1 control
  // of the same number; no text means one, and the other systems' reading
  // of the byte is U+FFFD.
  for (wchar_t& unit : wide)
    if (unit >= 0x80 && unit <= 0x9F) unit = 0xFFFD;
  return win32::ToUtf8(wide);
}

std::uint32_t SystemAnsiCodePage() { return GetACP(); }

}  // namespace qs

#include "platform/win32/com_bstr.h"

#include <new>

#include "platform/win32/utf16.h"

namespace qs::win32 {

Bstr::Bstr(std::string_view utf8) {
  const std::wstring wide = ToUtf16(utf8);
  text_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!text_) throw std::bad_alloc();
}

std::string Bstr::ToUtf8() const { return BstrToUtf8(text_); }

std::string BstrToUtf8(BSTR text) {
  if (!text) return {};
  return win32::ToUtf8(std::wstring_view(text, SysStringLen(text)));
}

}  // namespace qs::win32

#include "platform/win32/window_text.h"

#include "platform/win32/utf16.h"

namespace qs::win32 {

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return ToUtf8(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, ToUtf16(text).c_str());
}

}  // namespace qs::win32

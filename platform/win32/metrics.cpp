#include "platform/win32/metrics.h"

namespace qs::win32 {

int WindowDpi(HWND window) {
  // GetDpiForWindow is newer than the oldest system the program supports.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    if (FARPROC found = GetProcAddress(user32, "GetDpiForWindow")) {
      const auto get_dpi =
          reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
      if (const UINT dpi = get_dpi(window)) return static_cast<int>(dpi);
    }
  }
  HDC screen = GetDC(window);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(window, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace qs::win32

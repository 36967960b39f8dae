#pragma once

#include <windows.h>

#include <string>

namespace qs::win32 {

std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

}  // namespace qs::win32

#pragma once
// Shared by the Win32 layer's tests: ways to reach the windows behind the
// controls.

#include <windows.h>

#include <string>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/win32/control_peers.h"
#include "platform/win32/win32_window_system.h"

namespace qs::win32::testing {

inline HWND HandleOf(const Control& control) {
  const auto* peer = dynamic_cast<const ChildPeer*>(control.Peer());
  return peer ? peer->Handle() : nullptr;
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace qs::win32::testing

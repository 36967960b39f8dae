#pragma once
// Shared by the Win32 layer's tests: a window system with a form that counts
// its events, and ways to reach the windows behind them.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/win32/control_peers.h"
#include "platform/win32/win32_window_system.h"

namespace qs::win32::testing {

class CountingForm : public Form {
 public:
  CountingForm(Application& app, std::string name, int width = 6000, int height = 3000)
      : Form(app, name, name, width, height) {}
  int resizes = 0, unloads = 0;
  bool refuse_unload = false;

 protected:
  void OnResize() override { ++resizes; }
  void OnUnload(bool& cancel) override {
    ++unloads;
    cancel = refuse_unload;
  }
};

class FormTest : public ::testing::Test {
 protected:
  HWND WindowOf(const Form& shown) const { return windows.WindowOf(shown)->Handle(); }

  Win32WindowSystem windows;
  Application app{windows};
  CountingForm form{app, "frmTest"};
};

inline HWND HandleOf(const Control& control) {
  const auto* peer = dynamic_cast<const ChildPeer*>(control.Peer());
  return peer ? peer->Handle() : nullptr;
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// Waits up to five seconds for a window that find() returns.
inline HWND WaitForWindow(const std::function<HWND()>& find) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < until) {
    if (HWND found = find()) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return nullptr;
}

// Sends a control's notification to its form as the control itself would.
inline void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace qs::win32::testing

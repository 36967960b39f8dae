#pragma once
// The window system of Windows: each loaded form is a top-level window, each
// control a child window (see FormWindow), message boxes and the input box are
// the system's own dialogs.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/form_window.h"
#include "platform/window_system.h"

namespace qs::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;
  ~Win32WindowSystem() override;

  void CreatePeers(Form& form) override;
  void DestroyPeers(Form& form) override;
  void RunModal(Application& app, Form& form) override;
  void Run(Application& app, Form& main) override;
  Answer ShowMessage(const MessageBoxSpec& box) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
  void DebugOutput(std::string_view line) override;
  void DoEvents() override { ProcessPendingMessages(); }
  void HoldInput(bool held) override;

  // Handles every message already queued, as the message loop would; false
  // when one of them asked the program to quit (the request is kept).
  bool ProcessPendingMessages();

  // The window of a loaded form, or null.
  FormWindow* WindowOf(const Form& form) const;
  const std::wstring& ClassName() const { return class_name_; }
  std::vector<FormWindow*> Windows() const;
  // The active form's window, to own a box the program shows.
  HWND ActiveFormWindow() const;

  // Kept by the window procedure: while a handler runs, a destroyed form's
  // window is only hidden, and deleted once the handler has returned.
  void EnterHandler() { ++handler_depth_; }
  void LeaveHandler() { --handler_depth_; }
  // Makes a waiting message loop look at its end condition again.
  static void Wake();

 private:
  // Waits for one message and handles it; false on a quit request.
  bool HandleNextMessage();
  void Dispatch(MSG& message);
  FormWindow* WindowOfHandle(HWND handle) const;
  void BuryDeadWindows();

  std::wstring class_name_;
  ATOM class_atom_ = 0;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  std::vector<std::unique_ptr<FormWindow>> dead_;
  int handler_depth_ = 0;
  std::vector<HWND> held_;    // the windows a running command keeps from input
  HWND held_active_ = nullptr;  // the one that was active when it began
};

}  // namespace qs::win32

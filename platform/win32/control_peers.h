#pragma once
// The native peers of the controls: a child window per control (menu entries
// live in the form's menu bar instead). A peer mirrors what the program sets
// and reports the user's actions back to its control.

#include <memory>

#include "platform/controls.h"
#include "platform/win32/form_window.h"

namespace qs::win32 {

class ChildPeer : public ControlPeer {
 public:
  ChildPeer(FormWindow& window, Control& control);
  ChildPeer(const ChildPeer&) = delete;
  ChildPeer& operator=(const ChildPeer&) = delete;

  HWND Handle() const { return handle_; }
  void Update(Change what, int index) override;
  // A notification from the child window. The control's event is raised last:
  // it may unload the form, and the peer with it.
  virtual void Command(WORD /*code*/) {}
  virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
  // Finishes work put off until the program returns to the message loop.
  virtual void Settle() {}

 protected:
  // Makes the child window; the extra height lets a combo box drop its list.
  void Create(const wchar_t* window_class, DWORD style, DWORD ex_style, int extra_height = 0);
  virtual void UpdateOwn(Change /*what*/, int /*index*/) {}
  // Where the child window goes: the designed place, or more where the
  // control's caption needs it.
  virtual RECT Area() const { return window_.PixelRect(control_); }
  void Place() const;

  FormWindow& window_;
  Control& control_;
  HWND handle_ = nullptr;  // destroyed with the form's window, its parent
  int extra_height_ = 0;
};

// The peer of a control, or null for a control without one.
std::unique_ptr<ControlPeer> MakePeer(FormWindow& window, Control& control);

}  // namespace qs::win32

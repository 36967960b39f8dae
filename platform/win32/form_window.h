#pragma once
// The top-level window of one loaded form. It owns the window handle (and
// with it the child windows of the controls), the fonts and the menu bar, and
// turns the window system's messages into the form's and controls' events.

#include <vector>

#include "platform/form.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/handles.h"
#include "platform/win32/menu_bar.h"

namespace qs::win32 {

class Win32WindowSystem;

class FormWindow {
 public:
  FormWindow(Win32WindowSystem& system, Form& form);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow();

  HWND Handle() const { return window_.get(); }
  Form& GetForm() const { return form_; }
  HACCEL Accelerators() const { return menu_.accelerators.get(); }
  int Dpi() const { return dpi_; }

  // Makes the child windows of the controls and the menu bar, sizes the
  // window for the designed client area and tells the form its outer size.
  void CreateContents();
  // From here on no message reaches the form or its controls; the window is
  // hidden and the windows it disabled for a modal show are enabled again.
  void StopDispatching();

  void UpdateForm(Change what);
  void RebuildMenu();

  // For the control peers: where a control goes in client pixels, whether it
  // shows and works given its frames, its font. Controls in a frame are child
  // windows of the form as well, placed at the frame's corner plus their own
  // place, so that their notifications come straight to the form.
  RECT PixelRect(const Control& control) const;
  bool ShownOnWindow(const Control& control) const;
  bool EnabledOnWindow(const Control& control) const;
  HFONT FontFor(const Font& font) { return fonts_.Get(font, dpi_); }
  // Places, shows and enables again the controls held by a frame.
  void RefreshContents(const Frame& frame);
  WORD IdOf(const Control& control) const;
  // Has the control's peer settle once the message loop runs again.
  void SettleLater(const Control& control) const;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(WORD id, WORD code, HWND from);
  LRESULT OnNotify(const NMHDR& header);
  void OnUserSize();
  Control* ControlById(WORD id) const;
  CommandButton* FindButton(bool default_button) const;
  Control* FocusedControl() const;
  void ApplyVisibility();
  void DisableOthers();
  void EnableOthers();
  void ApplyPointer() const;
  void ResizeToForm();

  Win32WindowSystem& system_;
  Form& form_;
  // Declared before the window so that they outlive it.
  FontCache fonts_;
  MenuBar menu_;
  UniqueWindow window_;
  int dpi_ = 96;
  HWND last_focus_ = nullptr;
  bool ready_ = false;
  bool sizing_by_program_ = false;
  std::vector<HWND> disabled_;  // the other forms a modal show disabled
  bool modal_active_ = false;
};

}  // namespace qs::win32

#pragma once
// The top-level window of one loaded form. It owns the window handle (and
// with it the child windows of the controls), the fonts and the menu bar, and
// turns the window system's messages into the form's and controls' events.

#include <vector>

#include "platform/form.h"
#include "platform/win32/caption_room.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/handles.h"
#include "platform/win32/menu_bar.h"
#include "platform/win32/move_batch.h"

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

  // Keeps a shown window from input while a command runs, the keyboard's
  // place remembered; false for a window hidden or already kept from it.
  bool HoldInput();
  // Lets it take input again, the keyboard back where it was.
  void ReleaseInput();

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
  // The control's place grown to hold its caption, into room that no other
  // control of the window uses and within its frame or the window.
  RECT RoomFor(const Control& control, const CaptionNeeds& needs) const;
  // Moves a control's window: with the others of a resize at once, and on a
  // form that does not clip its controls, with what it uncovers and covers
  // drawn again, background first.
  void MoveChild(HWND child, const RECT& to);
  // Only one button looks like the default: the one with the keyboard, else
  // the form's default button.
  void ShowDefaultButton() const;
  // Alt with the access key of a label takes the keyboard to the working
  // control after it in tab order; false when no label has that key.
  bool FollowAccessKey(wchar_t key) const;
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
  // The button Enter presses: the one with the keyboard, else the one of
  // the text box with it, else the form's default button.
  const CommandButton* EnterButton() const;
  Control* FocusedControl() const;
  void ApplyVisibility();
  void DisableOthers();
  void EnableOthers();
  void ApplyPointer() const;
  void ResizeToForm();
  void PlaceNearOwner();
  void RedrawMoved();
  static void RedrawFrame(HWND child);

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
  bool placed_ = false;          // opened near its owner once
  MoveBatch* batch_ = nullptr;   // the moves of a resize, while it lasts
  RECT moved_{};                 // what moves uncovered and covered, to draw again
  std::vector<HWND> moved_children_;  // the windows a resize moved
};

}  // namespace qs::win32

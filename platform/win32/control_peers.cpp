#include "platform/win32/control_peers.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/list_view.h"
#include "platform/win32/list_view_peer.h"
#include "platform/win32/text_extent.h"
#include "platform/win32/utf16.h"
#include "platform/win32/window_text.h"

namespace qs::win32 {

ChildPeer::ChildPeer(FormWindow& window, Control& control) : window_(window), control_(control) {}

void ChildPeer::Create(const wchar_t* window_class, DWORD style, DWORD ex_style, int extra_height) {
  extra_height_ = extra_height;
  const RECT place = Area();
  if (window_.ShownOnWindow(control_)) style |= WS_VISIBLE;
  if (!window_.EnabledOnWindow(control_)) style |= WS_DISABLED;
  std::wstring text;
  if (auto* captioned = dynamic_cast<CaptionedControl*>(&control_))
    text = ToUtf16(captioned->Caption());
  else if (auto* editable = dynamic_cast<EditableControl*>(&control_))
    text = ToUtf16(editable->Text());
  // Clipped by the siblings above it, so that a control the design lets
  // overlap another (a label reaching into the box below it) never draws
  // over it, whichever of the two draws last.
  handle_ = CreateWindowExW(ex_style | WS_EX_NOPARENTNOTIFY, window_class, text.c_str(),
                            style | WS_CHILD | WS_CLIPSIBLINGS, place.left, place.top, place.right - place.left,
                            place.bottom - place.top + extra_height_, window_.Handle(),
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(window_.IdOf(control_))),
                            GetModuleHandleW(nullptr), nullptr);
  if (!handle_) throw std::runtime_error("cannot create the window of " + control_.Name());
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(window_.FontFor(control_.GetFont())),
               FALSE);
}

void ChildPeer::Place() const {
  RECT place = Area();
  place.bottom += extra_height_;
  window_.MoveChild(handle_, place);
}

void ChildPeer::Update(Change what, int index) {
  switch (what) {
    case Change::Geometry:
      Place();
      break;
    case Change::Visible:
      ShowWindow(handle_, window_.ShownOnWindow(control_) ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Enabled:
      EnableWindow(handle_, window_.EnabledOnWindow(control_));
      break;
    case Change::Text:
      if (auto* captioned = dynamic_cast<CaptionedControl*>(&control_)) {
        SetWindowTextUtf8(handle_, captioned->Caption());
        // The program may be busy and not return to the message loop for a
        // while (a progress label): draw the new text now.
        UpdateWindow(handle_);
      }
      break;
    default:
      break;
  }
  UpdateOwn(what, index);
}

namespace {

class FramePeer : public ChildPeer {
 public:
  FramePeer(FormWindow& window, Frame& frame) : ChildPeer(window, frame), frame_(frame) {
    Create(L"BUTTON", BS_GROUPBOX, 0);
  }

 protected:
  void UpdateOwn(Change what, int) override {
    if (what == Change::Geometry || what == Change::Visible || what == Change::Enabled)
      window_.RefreshContents(frame_);
  }

 private:
  Frame& frame_;
};

HFONT FontOf(FormWindow& window, const Control& control) {
  return window.FontFor(control.GetFont());
}

std::wstring CaptionOf(const CaptionedControl& control) { return ToUtf16(control.Caption()); }

// A label's caption fits on one line, else wraps within the designed width.
class LabelPeer : public ChildPeer {
 public:
  LabelPeer(FormWindow& window, Label& label) : ChildPeer(window, label), label_(label) {
    Create(L"STATIC", SS_LEFT, 0);
  }

 protected:
  RECT Area() const override {
    const RECT designed = window_.PixelRect(control_);
    const HFONT font = FontOf(window_, control_);
    const std::wstring caption = CaptionOf(label_);
    const int wrapped = WrappedExtent(font, caption, designed.right - designed.left).cy;
    return window_.RoomFor(control_, {LineExtent(font, caption), wrapped});
  }
  void UpdateOwn(Change what, int) override {
    // A longer caption may need more room (the progress label's does not).
    if (what == Change::Text) Place();
  }

 private:
  Label& label_;
};

// Text boxes and combo boxes: the program's text goes in without coming back
// as an edit of the user's.
class EditablePeer : public ChildPeer {
 public:
  EditablePeer(FormWindow& window, EditableControl& control)
      : ChildPeer(window, control), editable_(control) {}

 protected:
  void UpdateOwn(Change what, int) override {
    if (what == Change::Text) ShowProgramText();
  }
  void ShowProgramText() {
    echo_guard_ = true;
    SetWindowTextUtf8(handle_, editable_.Text());
    echo_guard_ = false;
  }
  void TakeUserText(std::string text) {
    if (!echo_guard_) editable_.TextEditedByUser(std::move(text));
  }

  EditableControl& editable_;
  bool echo_guard_ = false;
};

class TextBoxPeer : public EditablePeer {
 public:
  TextBoxPeer(FormWindow& window, TextBox& box) : EditablePeer(window, box) {
    Create(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
  }
  void Command(WORD code) override {
    if (code == EN_CHANGE) TakeUserText(WindowText(handle_));
  }
};

class ComboBoxPeer : public EditablePeer {
 public:
  ComboBoxPeer(FormWindow& window, ComboBox& box) : EditablePeer(window, box), box_(box) {
    constexpr int kDropDownPixels = 160;
    Create(WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
           kDropDownPixels);
    FillItems();
  }

  void Command(WORD code) override {
    if (code == CBN_EDITCHANGE) {
      TakeUserText(WindowText(handle_));
    } else if (code == CBN_SELCHANGE) {
      // The edit field still shows the old text while the selection changes.
      const LRESULT index = SendMessageW(handle_, CB_GETCURSEL, 0, 0);
      if (index == CB_ERR) return;
      const LRESULT length = SendMessageW(handle_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
      if (length == CB_ERR) return;
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      SendMessageW(handle_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<std::size_t>(length));
      TakeUserText(ToUtf8(text));
    }
  }

 protected:
  // Wide enough for its longest item beside the drop-down button.
  RECT Area() const override {
    const HFONT font = FontOf(window_, control_);
    LONG widest = 0;
    for (const auto& item : box_.Items())
      widest = std::max(widest, LineExtent(font, ToUtf16(item)).cx);
    const SIZE line{widest + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE), 0};
    return window_.RoomFor(control_, {line, 0});
  }
  void UpdateOwn(Change what, int index) override {
    if (what == Change::Items) {
      FillItems();
      Place();
    }
    EditablePeer::UpdateOwn(what, index);
  }

 private:
  void FillItems() {
    echo_guard_ = true;
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    for (const auto& item : box_.Items())
      SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToUtf16(item).c_str()));
    echo_guard_ = false;
    // Emptying the list empties the edit field as well.
    ShowProgramText();
  }

  ComboBox& box_;
};

class CheckBoxPeer : public ChildPeer {
 public:
  CheckBoxPeer(FormWindow& window, CheckBox& box) : ChildPeer(window, box), box_(box) {
    // Not an automatic box: the control decides the next state on a click.
    Create(L"BUTTON", BS_3STATE | WS_TABSTOP, 0);
    ShowValue();
  }

  void Command(WORD code) override {
    if (code == BN_CLICKED) box_.Click();
  }

 protected:
  // The box, a gap, and the caption with the focus rectangle around it.
  RECT Area() const override {
    const std::wstring caption = CaptionOf(box_);
    if (caption.empty()) return window_.PixelRect(control_);
    SIZE line = LineExtent(FontOf(window_, control_), caption);
    line.cx += GetSystemMetrics(SM_CXMENUCHECK) + 4 * GetSystemMetrics(SM_CXEDGE);
    line.cy = std::max<LONG>(line.cy + 2, GetSystemMetrics(SM_CYMENUCHECK));
    return window_.RoomFor(control_, {line, 0});
  }
  void UpdateOwn(Change what, int) override {
    if (what == Change::Value) ShowValue();
  }

 private:
  void ShowValue() { SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(box_.Value()), 0); }
  CheckBox& box_;
};

class ButtonPeer : public ChildPeer {
 public:
  ButtonPeer(FormWindow& window, CommandButton& button)
      : ChildPeer(window, button), button_(button) {
    Create(L"BUTTON", (button.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0);
  }
  void Command(WORD code) override {
    if (code == BN_CLICKED) button_.Click();
  }

 private:
  CommandButton& button_;
};

class ProgressBarPeer : public ChildPeer {
 public:
  ProgressBarPeer(FormWindow& window, ProgressBar& bar) : ChildPeer(window, bar), bar_(bar) {
    Create(PROGRESS_CLASSW, 0, 0);
    ShowRange();
  }

 protected:
  void UpdateOwn(Change what, int) override {
    if (what == Change::Range) ShowRange();
    if (what == Change::Value) {
      SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(bar_.Value()), 0);
      UpdateWindow(handle_);
    }
  }

 private:
  void ShowRange() {
    SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()),
                 static_cast<LPARAM>(bar_.Max()));
    SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(bar_.Value()), 0);
    UpdateWindow(handle_);
  }
  ProgressBar& bar_;
};

// Menu entries are drawn by the form's menu bar, which is made again when one
// of them changes.
class MenuPeer : public ControlPeer {
 public:
  explicit MenuPeer(FormWindow& window) : window_(window) {}
  void Update(Change what, int) override {
    if (what == Change::Text || what == Change::Enabled || what == Change::Visible)
      window_.RebuildMenu();
  }

 private:
  FormWindow& window_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakePeer(FormWindow& window, Control& control) {
  if (dynamic_cast<MenuItem*>(&control)) return std::make_unique<MenuPeer>(window);
  if (auto* list = dynamic_cast<ListView*>(&control))
    return std::make_unique<ListViewPeer>(window, *list);
  if (auto* frame = dynamic_cast<Frame*>(&control))
    return std::make_unique<FramePeer>(window, *frame);
  if (auto* label = dynamic_cast<Label*>(&control))
    return std::make_unique<LabelPeer>(window, *label);
  if (auto* text = dynamic_cast<TextBox*>(&control))
    return std::make_unique<TextBoxPeer>(window, *text);
  if (auto* combo = dynamic_cast<ComboBox*>(&control))
    return std::make_unique<ComboBoxPeer>(window, *combo);
  if (auto* check = dynamic_cast<CheckBox*>(&control))
    return std::make_unique<CheckBoxPeer>(window, *check);
  if (auto* button = dynamic_cast<CommandButton*>(&control))
    return std::make_unique<ButtonPeer>(window, *button);
  if (auto* bar = dynamic_cast<ProgressBar*>(&control))
    return std::make_unique<ProgressBarPeer>(window, *bar);
  return nullptr;
}

}  // namespace qs::win32

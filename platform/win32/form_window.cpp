#include "platform/win32/form_window.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/control_peers.h"
#include "platform/win32/metrics.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/window_text.h"

namespace qs::win32 {

namespace {

// Control identifiers start above the ones dialogs reserve (IDOK, IDCANCEL...).
constexpr WORD kFirstId = 100;
// Posted to the form: the control with this identifier settles its peer.
constexpr UINT kSettleMessage = WM_APP + 1;

// Not clipping its children: a frame draws only its line and caption and
// relies on the form's background showing through it.
DWORD FormStyle(const Form& form) {
  return form.Sizable() ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
}

DWORD FormExStyle(const Form& form) { return form.Sizable() ? 0 : WS_EX_DLGMODALFRAME; }

// How deep in the stacking order a control's window goes. Labels and frames
// lie beneath the controls that work, as if drawn on the form itself, so that
// a label reaching into a text box never hides the box's border; frames lie
// beneath the labels placed in them.
int Layer(const Control& control) {
  if (dynamic_cast<const Frame*>(&control)) return 2;
  if (dynamic_cast<const Label*>(&control)) return 1;
  return 0;
}

// Child windows are made from the top of the stacking order downwards, and
// the keyboard follows that order: working controls come in tab order.
std::vector<Control*> CreationOrder(const Form& form) {
  std::vector<Control*> order;
  for (const auto& control : form.Controls()) order.push_back(control.get());
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    if (Layer(*a) != Layer(*b)) return Layer(*a) < Layer(*b);
    const bool a_none = a->TabIndex() < 0, b_none = b->TabIndex() < 0;
    if (a_none != b_none) return b_none;
    return a->TabIndex() < b->TabIndex();
  });
  return order;
}

}  // namespace

FormWindow::FormWindow(Win32WindowSystem& system, Form& form) : system_(system), form_(form) {
  HWND window =
      CreateWindowExW(FormExStyle(form), system.ClassName().c_str(),
                      ToUtf16(form.Caption()).c_str(), FormStyle(form), CW_USEDEFAULT,
                      CW_USEDEFAULT, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window) throw std::runtime_error("cannot create the window of " + form.Name());
  window_.reset(window);
}

FormWindow::~FormWindow() {
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

WORD FormWindow::IdOf(const Control& control) const {
  const auto& controls = form_.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].get() == &control) return static_cast<WORD>(kFirstId + i);
  throw std::logic_error(control.Name() + " is not on " + form_.Name());
}

Control* FormWindow::ControlById(WORD id) const {
  const auto& controls = form_.Controls();
  if (id < kFirstId || id - kFirstId >= static_cast<int>(controls.size())) return nullptr;
  return controls[id - kFirstId].get();
}

void FormWindow::CreateContents() {
  HWND window = Handle();
  dpi_ = WindowDpi(window);
  menu_ = BuildMenuBar(form_, [this](const Control& control) { return IdOf(control); });
  if (menu_.bar) SetMenu(window, menu_.bar);
  for (Control* control : CreationOrder(form_)) control->SetPeer(MakePeer(*this, *control));

  const int client_width = TwipsToPixels(form_.ClientWidth(), dpi_);
  const int client_height = TwipsToPixels(form_.ClientHeight(), dpi_);
  RECT outer{0, 0, client_width, client_height};
  AdjustWindowRectEx(&outer, FormStyle(form_), menu_.bar != nullptr, FormExStyle(form_));
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  sizing_by_program_ = true;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar too long for the width wraps onto more lines than the
  // calculation assumed; the client area decides.
  RECT client{};
  GetClientRect(window, &client);
  if (client.bottom != client_height) {
    height += client_height - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  sizing_by_program_ = false;
  form_.SetOuterSize(PixelsToTwips(width, dpi_), PixelsToTwips(height, dpi_));
  ready_ = true;
}

void FormWindow::StopDispatching() {
  ready_ = false;
  EnableOthers();
  if (!window_) return;
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  ShowWindow(window_.get(), SW_HIDE);
}

void FormWindow::SettleLater(const Control& control) const {
  PostMessageW(Handle(), kSettleMessage, IdOf(control), 0);
}

void FormWindow::RebuildMenu() {
  HWND window = Handle();
  HMENU old_bar = GetMenu(window);
  menu_ = BuildMenuBar(form_, [this](const Control& control) { return IdOf(control); });
  SetMenu(window, menu_.bar);
  if (old_bar) DestroyMenu(old_bar);
  DrawMenuBar(window);
}

RECT FormWindow::PixelRect(const Control& control) const {
  int left = control.Left(), top = control.Top();
  for (const Frame* frame = control.Container(); frame; frame = frame->Container())
    left += frame->Left(), top += frame->Top();
  const int x = TwipsToPixels(left, dpi_), y = TwipsToPixels(top, dpi_);
  return {x, y, x + TwipsToPixels(control.Width(), dpi_),
          y + TwipsToPixels(control.Height(), dpi_)};
}

bool FormWindow::ShownOnWindow(const Control& control) const {
  for (const Control* at = &control; at; at = at->Container())
    if (!at->Visible()) return false;
  return true;
}

bool FormWindow::EnabledOnWindow(const Control& control) const {
  for (const Control* at = &control; at; at = at->Container())
    if (!at->Enabled()) return false;
  return true;
}

void FormWindow::RefreshContents(const Frame& frame) {
  for (const auto& control : form_.Controls()) {
    if (control->Container() != &frame || !control->Peer()) continue;
    for (Change what : {Change::Geometry, Change::Visible, Change::Enabled})
      control->Peer()->Update(what, 0);
  }
}

void FormWindow::UpdateForm(Change what) {
  switch (what) {
    case Change::Text:
      SetWindowTextUtf8(Handle(), form_.Caption());
      break;
    case Change::Geometry:
      ResizeToForm();
      break;
    case Change::Visible:
      ApplyVisibility();
      break;
    case Change::Pointer:
      ApplyPointer();
      break;
    default:
      break;
  }
}

void FormWindow::ResizeToForm() {
  const int width = TwipsToPixels(form_.Width(), dpi_);
  const int height = TwipsToPixels(form_.Height(), dpi_);
  RECT now{};
  GetWindowRect(Handle(), &now);
  if (now.right - now.left == width && now.bottom - now.top == height) return;
  sizing_by_program_ = true;
  SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  sizing_by_program_ = false;
}

void FormWindow::OnUserSize() {
  RECT now{};
  GetWindowRect(Handle(), &now);
  form_.Resize(PixelsToTwips(now.right - now.left, dpi_),
               PixelsToTwips(now.bottom - now.top, dpi_));
}

void FormWindow::ApplyVisibility() {
  HWND window = Handle();
  if (!form_.Shown()) {
    EnableOthers();
    ShowWindow(window, SW_HIDE);
    // A hidden form must not go down with the form that owned it last.
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
    Win32WindowSystem::Wake();
    return;
  }
  HWND owner = nullptr;
  if (const Form* owner_form = form_.OwnerForm())
    if (const FormWindow* owner_window = system_.WindowOf(*owner_form))
      owner = owner_window->Handle();
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  if (form_.Modal()) DisableOthers();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  // Drawn at once, controls included: a progress window is shown by a command
  // that keeps the message loop waiting until it has finished.
  RedrawWindow(window, nullptr, nullptr, RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void FormWindow::DisableOthers() {
  if (modal_active_) return;
  modal_active_ = true;
  for (FormWindow* other : system_.Windows()) {
    if (other == this || !IsWindowEnabled(other->Handle())) continue;
    EnableWindow(other->Handle(), FALSE);
    disabled_.push_back(other->Handle());
  }
}

void FormWindow::EnableOthers() {
  modal_active_ = false;
  for (HWND other : disabled_)
    if (IsWindow(other)) EnableWindow(other, TRUE);
  disabled_.clear();
}

void FormWindow::ApplyPointer() const {
  // The program sets the hourglass before a long command that does not return
  // to the message loop, so the cursor is changed here and now.
  POINT at{};
  if (!GetCursorPos(&at)) return;
  HWND under = WindowFromPoint(at);
  if (!under || GetAncestor(under, GA_ROOT) != Handle()) return;
  SetCursor(
      LoadCursorW(nullptr, form_.Pointer() == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

Control* FormWindow::FocusedControl() const {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != Handle()) return nullptr;
  return ControlById(static_cast<WORD>(GetDlgCtrlID(focus)));
}

CommandButton* FormWindow::FindButton(bool default_button) const {
  for (const auto& control : form_.Controls()) {
    auto* button = dynamic_cast<CommandButton*>(control.get());
    if (!button || !(default_button ? button->IsDefault() : button->IsCancel())) continue;
    if (EnabledOnWindow(*button) && ShownOnWindow(*button)) return button;
  }
  return nullptr;
}

void FormWindow::OnCommand(WORD id, WORD code, HWND from) {
  // The keyboard's Enter and Escape, as the dialog keys translate them.
  if (id == IDOK || id == IDCANCEL) {
    if (const CommandButton* button = FindButton(id == IDOK)) button->Click();
    return;
  }
  Control* control = ControlById(id);
  if (!control) return;
  if (const auto* item = dynamic_cast<MenuItem*>(control)) {
    if (!from && item->Enabled()) item->Click();
    return;
  }
  if (auto* peer = dynamic_cast<ChildPeer*>(control->Peer()); peer && from == peer->Handle())
    peer->Command(code);
}

LRESULT FormWindow::OnNotify(const NMHDR& header) {
  Control* control = ControlById(static_cast<WORD>(header.idFrom));
  if (!control) return 0;
  if (auto* peer = dynamic_cast<ChildPeer*>(control->Peer());
      peer && header.hwndFrom == peer->Handle())
    return peer->Notify(header);
  return 0;
}

LRESULT FormWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (ready_) OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_NOTIFY:
      return ready_ ? OnNotify(*reinterpret_cast<const NMHDR*>(lparam)) : 0;
    case WM_SIZE:
      if (ready_ && !sizing_by_program_ && wparam != SIZE_MINIMIZED) OnUserSize();
      return 0;
    case WM_CLOSE:
      if (ready_) form_.CloseRequestedByUser();
      return 0;
    case WM_SETCURSOR:
      if (form_.Pointer() == MousePointer::Hourglass) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case kSettleMessage:
      if (Control* control = ControlById(static_cast<WORD>(wparam)))
        if (auto* peer = dynamic_cast<ChildPeer*>(control->Peer())) peer->Settle();
      return 0;
    case DM_GETDEFID: {
      // Enter presses the button that has the keyboard, else the default one.
      if (const Control* focused = FocusedControl(); dynamic_cast<const CommandButton*>(focused))
        return MAKELRESULT(IdOf(*focused), DC_HASDEFID);
      if (const CommandButton* button = FindButton(true))
        return MAKELRESULT(IdOf(*button), DC_HASDEFID);
      return 0;
    }
    case WM_ACTIVATE:
      // Like a dialog: the keyboard goes back to the control that had it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) last_focus_ = focus;
      } else {
        HWND target = last_focus_ && IsWindow(last_focus_) && IsChild(window, last_focus_)
                          ? last_focus_
                          : GetNextDlgTabItem(window, nullptr, FALSE);
        if (target) {
          SetFocus(target);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Destroyed by the system (with the window that owned it): the controls'
    // windows are gone, so nothing more reaches them.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->ready_ = false;
    self->window_.release();
    return DefWindowProcW(window, message, wparam, lparam);
  }
  Win32WindowSystem& system = self->system_;
  system.EnterHandler();
  LRESULT result = 0;
  try {
    result = self->HandleMessage(window, message, wparam, lparam);
  } catch (const std::exception& error) {
    system.DebugOutput(std::string("error in a window event: ") + error.what());
  } catch (...) {
    system.DebugOutput("error in a window event");
  }
  system.LeaveHandler();
  return result;
}

}  // namespace qs::win32

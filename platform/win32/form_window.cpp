#include "platform/win32/form_window.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <stdexcept>

#include "platform/application.h"
#include "platform/win32/control_peers.h"
#include "platform/win32/metrics.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/window_placement.h"
#include "platform/win32/window_text.h"

namespace qs::win32 {

namespace {

// Control identifiers start above the ones dialogs reserve (IDOK, IDCANCEL...).
constexpr WORD kFirstId = 100;
// Posted to the form: the control with this identifier settles its peer.
constexpr UINT kSettleMessage = WM_APP + 1;

bool HasFrames(const Form& form) {
  return std::any_of(form.Controls().begin(), form.Controls().end(),
                     [](const auto& control) { return dynamic_cast<const Frame*>(control.get()); });
}

// A form clips its controls, so that drawing its background never wipes out
// a control that has already drawn itself; but not a form with frames: a
// frame draws only its line and caption and relies on the form's background
// showing through it.
DWORD FormStyle(const Form& form) {
  const DWORD clip = HasFrames(form) ? 0 : WS_CLIPCHILDREN;
  return clip | (form.Sizable() ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
}

// The room a frame's contents may take: inside its line.
constexpr int kFrameInsetPixels = 2;

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

// The letter after the single "&" of a caption, in upper case; 0 for none.
wchar_t AccessKeyOf(const std::string& caption) {
  for (std::size_t at = caption.find('&'); at + 1 < caption.size(); at = caption.find('&', at + 2))
    if (caption[at + 1] != '&') return static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(caption[at + 1])));
  return 0;
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

bool FormWindow::HoldInput() {
  HWND window = Handle();
  if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  HWND focus = GetFocus();
  if (focus && IsChild(window, focus)) last_focus_ = focus;
  EnableWindow(window, FALSE);
  return true;
}

void FormWindow::ReleaseInput() {
  HWND window = Handle();
  EnableWindow(window, TRUE);
  // Still active, it gets no activation that would give the keyboard back.
  if (GetActiveWindow() == window && !GetFocus() && last_focus_ && IsChild(window, last_focus_)) {
    SetFocus(last_focus_);
    ShowDefaultButton();
  }
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

RECT FormWindow::RoomFor(const Control& control, const CaptionNeeds& needs) const {
  const RECT designed = PixelRect(control);
  RECT bounds{};
  if (const Frame* frame = control.Container()) {
    bounds = PixelRect(*frame);
    InflateRect(&bounds, -kFrameInsetPixels, -kFrameInsetPixels);
  } else {
    GetClientRect(Handle(), &bounds);
  }
  std::vector<RECT> taken;
  for (const auto& other : form_.Controls()) {
    if (other.get() == &control || !other->HasPlace() || !ShownOnWindow(*other)) continue;
    bool holds_control = false;
    for (const Frame* frame = control.Container(); frame; frame = frame->Container())
      holds_control |= frame == other.get();
    if (holds_control) continue;
    // A control the design already lets it overlap stays overlapped.
    const RECT place = PixelRect(*other);
    RECT overlap{};
    if (!IntersectRect(&overlap, &place, &designed)) taken.push_back(place);
  }
  return RoomForCaption(designed, needs, bounds, taken);
}

void FormWindow::MoveChild(HWND child, const RECT& to) {
  RECT from{};
  GetWindowRect(child, &from);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&from), 2);
  if (EqualRect(&from, &to)) return;
  if (batch_) {
    batch_->Move(child, to);
    moved_children_.push_back(child);
  } else {
    SetWindowPos(child, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    RedrawFrame(child);
  }
  if (GetWindowLongW(Handle(), GWL_STYLE) & WS_CLIPCHILDREN) return;
  UnionRect(&moved_, &moved_, &from);
  UnionRect(&moved_, &moved_, &to);
  if (!batch_) RedrawMoved();
}

// The system draws a moved child's inside again, but not always its border.
void FormWindow::RedrawFrame(HWND child) {
  RedrawWindow(child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void FormWindow::RedrawMoved() {
  if (IsRectEmpty(&moved_)) return;
  // The background first, then every control on it, before anything else
  // draws: a control drawn before the background would be wiped out.
  RedrawWindow(Handle(), &moved_, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW | RDW_UPDATENOW);
  moved_ = {};
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
  {
    MoveBatch batch(static_cast<int>(form_.Controls().size()));
    batch_ = &batch;
    try {
      form_.Resize(PixelsToTwips(now.right - now.left, dpi_),
                   PixelsToTwips(now.bottom - now.top, dpi_));
    } catch (...) {
      batch_ = nullptr;
      throw;
    }
    batch_ = nullptr;
  }
  for (HWND child : moved_children_) RedrawFrame(child);
  moved_children_.clear();
  RedrawMoved();
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
  if (!placed_) PlaceNearOwner();
  if (form_.Modal()) DisableOthers();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  // Drawn at once, controls included: a progress window is shown by a command
  // that keeps the message loop waiting until it has finished.
  RedrawWindow(window, nullptr, nullptr, RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void FormWindow::PlaceNearOwner() {
  placed_ = true;
  const Form* reference = form_.OwnerForm() ? form_.OwnerForm() : form_.App().MainForm();
  if (!reference || reference == &form_ || !reference->Shown()) return;
  const FormWindow* reference_window = system_.WindowOf(*reference);
  if (!reference_window || !IsWindowVisible(reference_window->Handle())) return;
  RECT near_to{}, now{};
  GetWindowRect(reference_window->Handle(), &near_to);
  GetWindowRect(Handle(), &now);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(reference_window->Handle(), MONITOR_DEFAULTTONEAREST),
                       &monitor))
    return;
  const RECT place =
      PlaceNear({now.right - now.left, now.bottom - now.top}, near_to, monitor.rcWork,
                form_.GetStartPosition() == StartPosition::BesideOwner);
  SetWindowPos(Handle(), nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

const CommandButton* FormWindow::EnterButton() const {
  const Control* focused = FocusedControl();
  if (const auto* button = dynamic_cast<const CommandButton*>(focused)) return button;
  if (const auto* box = dynamic_cast<const TextBox*>(focused))
    if (const CommandButton* button = box->EnterButton(); button && EnabledOnWindow(*button) && ShownOnWindow(*button))
      return button;
  return FindButton(true);
}

bool FormWindow::FollowAccessKey(wchar_t key) const {
  const Control* label = nullptr;
  for (const auto& control : form_.Controls())
    if (const auto* found = dynamic_cast<const Label*>(control.get());
        found && ShownOnWindow(*found) && AccessKeyOf(found->Caption()) == std::towupper(key))
      label = found;
  if (!label) return false;
  const Control* next = nullptr;
  for (const auto& control : form_.Controls()) {
    const int index = control->TabIndex();
    if (dynamic_cast<const ChildPeer*>(control->Peer()) && Layer(*control) == 0 && index > label->TabIndex() &&
        (!next || index < next->TabIndex()) && ShownOnWindow(*control) && EnabledOnWindow(*control))
      next = control.get();
  }
  if (!next) return false;
  HWND target = static_cast<const ChildPeer*>(next->Peer())->Handle();
  SetFocus(target);
  // A box is taken whole, as the Tab key takes it.
  if (dynamic_cast<const EditableControl*>(next)) SendMessageW(target, EM_SETSEL, 0, -1);
  ShowDefaultButton();
  return true;
}

void FormWindow::ShowDefaultButton() const {
  if (!ready_) return;
  const CommandButton* looks_default = EnterButton();
  for (const auto& control : form_.Controls()) {
    const auto* button = dynamic_cast<const CommandButton*>(control.get());
    const auto* peer = button ? dynamic_cast<const ChildPeer*>(button->Peer()) : nullptr;
    if (!peer) continue;
    const LONG wanted = button == looks_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongW(peer->Handle(), GWL_STYLE) & BS_TYPEMASK) != wanted)
      SendMessageW(peer->Handle(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
  }
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
    // A window that takes no input (held by a modal window or a running
    // command) does nothing for a click or key that reaches it all the same:
    // posted to it, or through the loop of a box or dialog.
    case WM_COMMAND:
      if (ready_ && IsWindowEnabled(window)) OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_NOTIFY:
      return ready_ ? OnNotify(*reinterpret_cast<const NMHDR*>(lparam)) : 0;
    case WM_SIZE:
      if (ready_ && !sizing_by_program_ && wparam != SIZE_MINIMIZED) OnUserSize();
      return 0;
    case WM_CLOSE:
      if (ready_ && IsWindowEnabled(window)) form_.CloseRequestedByUser();
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
    case DM_GETDEFID:
      if (const CommandButton* button = EnterButton()) return MAKELRESULT(IdOf(*button), DC_HASDEFID);
      return 0;
    case DM_SETDEFID:
      // The dialog keys name a new default; the look follows the keyboard.
      ShowDefaultButton();
      return TRUE;
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
          ShowDefaultButton();
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

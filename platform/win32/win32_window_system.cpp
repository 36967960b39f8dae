#include "platform/win32/win32_window_system.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

#include "platform/form.h"
#include "platform/win32/input_box.h"
#include "platform/win32/message_box.h"
#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {

// The form's own peer passes the form's changes on to its window.
class FormPeer : public ControlPeer {
 public:
  explicit FormPeer(FormWindow& window) : window_(window) {}
  void Update(Change what, int) override { window_.UpdateForm(what); }

 private:
  FormWindow& window_;
};

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // A class of our own per window system, registered and removed with it.
  wchar_t name[64];
  std::swprintf(name, 64, L"QuillstowForm%p", static_cast<void*>(this));
  class_name_ = name;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  // Drawn again whole when its size changes: the controls anchored to the
  // right and bottom edges move, and their old places must not stay behind.
  window_class.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = &FormWindow::Procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (!window_class.hIcon) window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = class_name_.c_str();
  class_atom_ = RegisterClassExW(&window_class);
  if (!class_atom_) throw std::runtime_error("cannot register the window class");
}

Win32WindowSystem::~Win32WindowSystem() {
  dead_.clear();
  windows_.clear();
  UnregisterClassW(class_name_.c_str(), GetModuleHandleW(nullptr));
}

void Win32WindowSystem::CreatePeers(Form& form) {
  auto window = std::make_unique<FormWindow>(*this, form);
  FormWindow& made = *window;
  windows_[&form] = std::move(window);
  form.SetPeer(std::make_unique<FormPeer>(made));
  try {
    made.CreateContents();
  } catch (...) {
    DestroyPeers(form);
    throw;
  }
}

void Win32WindowSystem::DestroyPeers(Form& form) {
  const auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  found->second->StopDispatching();
  for (const auto& control : form.Controls()) control->SetPeer(nullptr);
  form.SetPeer(nullptr);
  dead_.push_back(std::move(found->second));
  windows_.erase(found);
  Wake();
  if (handler_depth_ == 0) BuryDeadWindows();
}

void Win32WindowSystem::BuryDeadWindows() { dead_.clear(); }

FormWindow* Win32WindowSystem::WindowOf(const Form& form) const {
  const auto found = windows_.find(&form);
  return found == windows_.end() ? nullptr : found->second.get();
}

std::vector<FormWindow*> Win32WindowSystem::Windows() const {
  std::vector<FormWindow*> all;
  for (const auto& [form, window] : windows_) all.push_back(window.get());
  return all;
}

HWND Win32WindowSystem::ActiveFormWindow() const {
  HWND active = GetActiveWindow();
  for (const auto& [form, window] : windows_)
    if (window->Handle() == active) return active;
  return nullptr;
}

void Win32WindowSystem::HoldInput(bool held) {
  if (held) {
    held_active_ = GetActiveWindow();
    for (const auto& [form, window] : windows_)
      if (window->HoldInput()) held_.push_back(window->Handle());
    return;
  }
  for (HWND handle : held_)
    if (FormWindow* window = WindowOfHandle(handle)) window->ReleaseInput();
  held_.clear();
  // The windows of the command have gone, and the system may have activated
  // none of the program's, all of them being held.
  FormWindow* was_active = WindowOfHandle(held_active_);
  held_active_ = nullptr;
  if (was_active && !GetActiveWindow() && IsWindowVisible(was_active->Handle()))
    SetForegroundWindow(was_active->Handle());
}

void Win32WindowSystem::Wake() { PostMessageW(nullptr, WM_NULL, 0, 0); }

FormWindow* Win32WindowSystem::WindowOfHandle(HWND handle) const {
  if (!handle) return nullptr;
  for (const auto& [form, window] : windows_)
    if (window->Handle() == handle) return window.get();
  return nullptr;
}

void Win32WindowSystem::Dispatch(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  bool handled = false;
  const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                     (message.message >= WM_LBUTTONDOWN && message.message <= WM_MOUSELAST);
  // A window held from input takes none, posted or not.
  if (input && root && !IsWindowEnabled(root)) return;
  if (FormWindow* window = WindowOfHandle(root)) {
    if (HACCEL keys = window->Accelerators(); keys && TranslateAcceleratorW(root, keys, &message))
      return;
    // Before the dialog keys, which would take a label's access key to the
    // control after it in the stacking order, where labels lie underneath.
    if (message.message == WM_SYSCHAR && window->FollowAccessKey(static_cast<wchar_t>(message.wParam))) return;
    handled = IsDialogMessageW(root, &message) != FALSE;
  }
  if (!handled) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // A click or a key may have moved the keyboard to or from a button. The
  // form is looked up again: the message may have unloaded it.
  if (FormWindow* window = input ? WindowOfHandle(root) : nullptr) window->ShowDefaultButton();
}

bool Win32WindowSystem::HandleNextMessage() {
  MSG message{};
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0) {
    // Kept for the loops further out, which end as well.
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (got == -1) return false;
  Dispatch(message);
  if (handler_depth_ == 0) BuryDeadWindows();
  return true;
}

bool Win32WindowSystem::ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
    if (handler_depth_ == 0) BuryDeadWindows();
  }
  return true;
}

void Win32WindowSystem::RunModal(Application&, Form& form) {
  while (form.Loaded() && form.Shown())
    if (!HandleNextMessage()) return;
}

void Win32WindowSystem::Run(Application&, Form& main) {
  while (main.Loaded()) {
    if (!HandleNextMessage()) {
      // The quit request ends the program's loop here and is not kept: the
      // boxes shown while the program closes must still wait for the user.
      MSG quit{};
      PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
      return;
    }
  }
}

Answer Win32WindowSystem::ShowMessage(const MessageBoxSpec& box) {
  HWND owner = ActiveFormWindow();
  const UINT style = MessageBoxStyle(box) | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL));
  const int result =
      MessageBoxW(owner, ToUtf16(box.text).c_str(), ToUtf16(box.title).c_str(), style);
  if (result == 0) DebugOutput("message box could not be shown: " + box.text);
  return AnswerOf(result, box);
}

std::optional<std::string> Win32WindowSystem::AskText(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& initial) {
  return RunInputBox(ActiveFormWindow(), prompt, title, initial);
}

void Win32WindowSystem::DebugOutput(std::string_view line) {
  OutputDebugStringW((ToUtf16(line) + L"\n").c_str());
}

}  // namespace qs::win32

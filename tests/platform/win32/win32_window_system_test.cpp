// Forms as top-level windows: their size, events, showing and ending.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::CountingForm;
using testing::HandleOf;

SIZE OuterSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// A child window's rectangle in its parent's client coordinates.
using Rect = std::array<LONG, 4>;
Rect ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

class FormWindows : public ::testing::Test {
 protected:
  HWND WindowOf(const Form& shown) const {
    const FormWindow* window = windows.WindowOf(shown);
    return window ? window->Handle() : nullptr;
  }

  Win32WindowSystem windows;
  Application app{windows};
  CountingForm form{app, "frmTest"};
};

TEST_F(FormWindows, ControlsSitAtTheirTwipsInClientPixels) {
  auto& box = form.Add<TextBox>("txtMailFolder");
  box.Move(120, 480, 6375, 375);
  auto& frame = form.Add<Frame>("Frame1", "Options");
  frame.Move(300, 1200, 3000, 1500);
  auto& check = form.Add<CheckBox>("ckDate");
  check.Move(120, 360, 255, 255);
  check.SetContainer(&frame);
  form.Load();
  RECT client{};
  GetClientRect(WindowOf(form), &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(400L, 200L));
  EXPECT_EQ(ChildRect(HandleOf(box)), (Rect{8, 32, 433, 57}));
  // Inside a frame the place counts from the frame's corner.
  EXPECT_EQ(ChildRect(HandleOf(check)), (Rect{28, 104, 45, 121}));
  frame.Move(600, 1200, 3000, 1500);
  EXPECT_EQ(ChildRect(HandleOf(check)), (Rect{48, 104, 65, 121}));
}

TEST_F(FormWindows, ProgramAndUserResizesMeetInTheFormsSize) {
  form.SetSizable(true);
  form.Add<MenuItem>("mnuFile", "&File");
  form.Show();
  HWND window = WindowOf(form);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
  // The outer size holds the frame and the menu bar; the client keeps the design.
  const SIZE before = OuterSize(window);
  EXPECT_EQ(form.Height(), before.cy * 15);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 200);

  form.Resize(form.Width() + 600, form.Height() + 300);
  EXPECT_EQ(OuterSize(window).cx, before.cx + 40);
  EXPECT_EQ(OuterSize(window).cy, before.cy + 20);
  EXPECT_EQ(form.resizes, 1);
  SetWindowPos(window, nullptr, 0, 0, before.cx + 30, before.cy + 15,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.Width(), (before.cx + 30) * 15);
  EXPECT_EQ(form.Height(), (before.cy + 15) * 15);
  EXPECT_EQ(form.resizes, 2);
}

TEST_F(FormWindows, AShownFormIsDrawnAtOnceWithItsControls) {
  // A progress window is shown by a command that does not return to the
  // message loop before it has finished.
  auto& status = form.Add<Label>("txtStatus", "");
  status.Move(120, 120, 5775, 255);
  auto& bar = form.Add<ProgressBar>("ProgressBar1");
  bar.Move(120, 480, 5775, 255);
  form.Show();
  status.SetCaption("Saving  3 of  12");
  bar.SetRange(0, 12);
  bar.SetValue(3);
  for (HWND window : {WindowOf(form), HandleOf(status), HandleOf(bar)})
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
  EXPECT_EQ(SendMessageW(HandleOf(bar), PBM_GETRANGE, FALSE, 0), 12);
  EXPECT_EQ(SendMessageW(HandleOf(bar), PBM_GETPOS, 0, 0), 3);
}

// The form may refuse its close box; a handler may throw, or unload its own
// form while the button that called it is on the stack.
TEST_F(FormWindows, TheCloseBoxAndHandlersUnloadTheFormSafely) {
  auto& fail = form.Add<CommandButton>("cmdFail", "Fail");
  fail.onClick = [] { throw std::runtime_error("broken handler"); };
  auto& exit = form.Add<CommandButton>("cmdExit", "Exit");
  exit.onClick = [&] { form.Unload(); };
  form.Show();
  HWND window = WindowOf(form);
  form.refuse_unload = true;
  SendMessageW(window, WM_CLOSE, 0, 0);
  testing::Notify(HandleOf(fail), BN_CLICKED);
  EXPECT_EQ(form.unloads, 1);
  EXPECT_TRUE(form.Loaded());
  form.refuse_unload = false;
  testing::Notify(HandleOf(exit), BN_CLICKED);
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(exit.Peer(), nullptr);
  windows.ProcessPendingMessages();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormWindows, AModalShowDisablesTheOtherFormsUntilHidden) {
  form.Show();
  CountingForm dialog(app, "frmDialog", 3000, 1500);
  auto& close = dialog.Add<CommandButton>("cmdClose", "Close");
  close.onClick = [&] { dialog.Hide(); };
  dialog.Load();
  HWND owner = WindowOf(form), window = WindowOf(dialog);
  std::atomic<bool> owned_and_alone{false};
  std::thread user([&] {
    testing::WaitForWindow([&] { return IsWindowVisible(window) ? window : nullptr; });
    owned_and_alone = !IsWindowEnabled(owner) && GetWindow(window, GW_OWNER) == owner;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(HandleOf(close)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(HandleOf(close)));
  });
  dialog.Show(true, &form);
  user.join();
  EXPECT_TRUE(owned_and_alone);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(FormWindows, RunEndsWhenTheMainFormIsUnloadedOrOnAQuitRequest) {
  form.Show();
  PostQuitMessage(3);
  windows.Run(app, form);
  EXPECT_TRUE(form.Loaded());
  MSG left{};
  EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  PostMessageW(WindowOf(form), WM_CLOSE, 0, 0);
  windows.Run(app, form);
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
}  // namespace qs::win32

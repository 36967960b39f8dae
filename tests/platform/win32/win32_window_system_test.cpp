// Forms as top-level windows: their size, events, showing and ending.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/list_view.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::ChildRect;
using testing::CountingForm;
using testing::HandleOf;
using testing::OuterSize;

class FormWindows : public ::testing::Test {
 protected:
  HWND WindowOf(const Form& form) const {
    const FormWindow* window = windows.WindowOf(form);
    return window ? window->Handle() : nullptr;
  }

  Win32WindowSystem windows;
  Application app{windows};
};

TEST_F(FormWindows, ControlsSitAtTheirTwipsInClientPixels) {
  CountingForm form(app, "frmTest", "Test", 6000, 3000);
  auto& label = form.Add<Label>("Label1", "Mail Folder");
  label.Move(120, 240, 4095, 255);
  auto& box = form.Add<TextBox>("txtMailFolder");
  box.Move(120, 480, 6375, 375);
  auto& frame = form.Add<Frame>("Frame1", "Options");
  frame.Move(300, 1200, 3000, 1500);
  auto& check = form.Add<CheckBox>("ckDate");
  check.Move(120, 360, 255, 255);
  check.SetContainer(&frame);
  form.Load();

  HWND window = WindowOf(form);
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(ChildRect(HandleOf(label)), (RECT{8, 16, 281, 33}));
  EXPECT_EQ(ChildRect(HandleOf(box)), (RECT{8, 32, 433, 57}));
  EXPECT_EQ(ChildRect(HandleOf(frame)), (RECT{20, 80, 220, 180}));
  // Inside a frame the place counts from the frame's corner.
  EXPECT_EQ(ChildRect(HandleOf(check)), (RECT{28, 104, 45, 121}));

  frame.Move(600, 1200, 3000, 1500);
  EXPECT_EQ(ChildRect(HandleOf(check)), (RECT{48, 104, 65, 121}));
}

TEST_F(FormWindows, TheFormLearnsItsOuterSizeIncludingTheMenuBar) {
  CountingForm plain(app, "frmPlain", "Plain", 6000, 3000);
  plain.SetSizable(true);
  CountingForm menued(app, "frmMenu", "Menu", 6000, 3000);
  menued.SetSizable(true);
  menued.Add<MenuItem>("mnuFile", "&File");
  plain.Load();
  menued.Load();

  const SIZE plain_size = OuterSize(WindowOf(plain));
  EXPECT_EQ(plain.Width(), plain_size.cx * 15);
  EXPECT_EQ(plain.Height(), plain_size.cy * 15);
  EXPECT_GT(plain.Width(), 6000);
  EXPECT_GT(plain.Height(), 3000);
  EXPECT_GT(menued.Height(), plain.Height());
  RECT client{};
  GetClientRect(WindowOf(menued), &client);
  EXPECT_EQ(client.bottom, 200);
}

TEST_F(FormWindows, AProgramResizeMovesTheWindowAndRaisesResizeOnce) {
  CountingForm form(app, "frmTest", "Test", 6000, 3000);
  form.SetSizable(true);
  form.Load();
  HWND window = WindowOf(form);
  const SIZE before = OuterSize(window);

  form.Resize(form.Width() + 600, form.Height() + 300);

  const SIZE after = OuterSize(window);
  EXPECT_EQ(after.cx, before.cx + 40);
  EXPECT_EQ(after.cy, before.cy + 20);
  EXPECT_EQ(form.resizes, 1);
}

TEST_F(FormWindows, AUserResizeComesBackAsTheFormsSize) {
  CountingForm form(app, "frmTest", "Test", 6000, 3000);
  form.SetSizable(true);
  form.Load();
  form.Show();
  HWND window = WindowOf(form);
  const SIZE before = OuterSize(window);

  SetWindowPos(window, nullptr, 0, 0, before.cx + 30, before.cy + 15,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  EXPECT_EQ(form.Width(), (before.cx + 30) * 15);
  EXPECT_EQ(form.Height(), (before.cy + 15) * 15);
  EXPECT_EQ(form.resizes, 1);
  EXPECT_EQ(OuterSize(window).cx, before.cx + 30);
}

TEST_F(FormWindows, CaptionAndVisibilityFollowTheForm) {
  CountingForm form(app, "frmTest", "Test", 3000, 1500);
  form.Load();
  HWND window = WindowOf(form);
  EXPECT_FALSE(IsWindowVisible(window));
  form.SetCaption("Saving ...");
  EXPECT_EQ(testing::TextOf(window), L"Saving ...");
  form.Show();
  EXPECT_TRUE(IsWindowVisible(window));
  form.Hide();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(FormWindows, AShownFormIsDrawnAtOnceWithItsControls) {
  // A progress window is shown by a command that does not return to the
  // message loop before it has finished.
  CountingForm form(app, "frmProgress", "Progress", 6030, 840);
  auto& status = form.Add<Label>("txtStatus", "");
  status.Move(120, 120, 5775, 255);
  auto& bar = form.Add<ProgressBar>("ProgressBar1");
  bar.Move(120, 480, 5775, 255);
  form.Show();
  EXPECT_FALSE(GetUpdateRect(WindowOf(form), nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(HandleOf(status), nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(HandleOf(bar), nullptr, FALSE));
  status.SetCaption("Saving  3 of  12");
  bar.SetValue(3);
  EXPECT_FALSE(GetUpdateRect(HandleOf(status), nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(HandleOf(bar), nullptr, FALSE));
}

TEST_F(FormWindows, AFixedFormHasNoSizingBorder) {
  CountingForm fixed(app, "frmFixed", "Fixed", 3000, 1500);
  CountingForm sizable(app, "frmSizable", "Sizable", 3000, 1500);
  sizable.SetSizable(true);
  fixed.Load();
  sizable.Load();
  EXPECT_FALSE(GetWindowLongW(WindowOf(fixed), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(WindowOf(sizable), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(FormWindows, TheCloseBoxUnloadsUnlessTheFormRefuses) {
  CountingForm form(app, "frmTest", "Test", 3000, 1500);
  form.Show();
  HWND window = WindowOf(form);
  form.refuse_unload = true;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(form.unloads, 1);
  EXPECT_TRUE(form.Loaded());
  EXPECT_TRUE(IsWindow(window));

  form.refuse_unload = false;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Loaded());
  windows.ProcessPendingMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form.Peer(), nullptr);
}

TEST_F(FormWindows, AButtonMayUnloadItsOwnFormAndTheLayerSurvives) {
  CountingForm form(app, "frmTest", "Test", 3000, 1500);
  auto& exit = form.Add<CommandButton>("cmdExit", "Exit");
  exit.Move(120, 120, 975, 375);
  exit.onClick = [&] { form.Unload(); };
  form.Show();
  HWND window = WindowOf(form);
  HWND button = HandleOf(exit);

  testing::Notify(button, BN_CLICKED);

  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(exit.Peer(), nullptr);
  windows.ProcessPendingMessages();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormWindows, AnErrorInAnEventStaysInsideTheWindow) {
  CountingForm form(app, "frmTest", "Test", 3000, 1500);
  auto& button = form.Add<CommandButton>("cmdFail", "Fail");
  button.Move(120, 120, 975, 375);
  int calls = 0;
  button.onClick = [&] {
    ++calls;
    throw std::runtime_error("broken handler");
  };
  form.Show();
  testing::Notify(HandleOf(button), BN_CLICKED);
  testing::Notify(HandleOf(button), BN_CLICKED);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(form.Loaded());
}

TEST_F(FormWindows, AModalShowDisablesTheOtherFormsUntilHidden) {
  CountingForm owner(app, "frmOwner", "Owner", 6000, 3000);
  owner.Show();
  CountingForm dialog(app, "frmDialog", "Modal dialog", 3000, 1500);
  auto& close = dialog.Add<CommandButton>("cmdClose", "Close");
  close.Move(120, 120, 975, 375);
  close.onClick = [&] { dialog.Hide(); };
  dialog.Load();
  HWND owner_window = WindowOf(owner);
  HWND dialog_window = WindowOf(dialog);
  HWND close_button = HandleOf(close);

  std::atomic<bool> owner_disabled{false};
  std::atomic<bool> owned{false};
  std::thread watcher([&] {
    testing::WaitForWindow(
        [&] { return IsWindowVisible(dialog_window) ? dialog_window : nullptr; });
    owner_disabled = !IsWindowEnabled(owner_window);
    owned = GetWindow(dialog_window, GW_OWNER) == owner_window;
    PostMessageW(dialog_window, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(close_button)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(close_button));
  });
  dialog.Show(true, &owner);
  watcher.join();

  EXPECT_FALSE(dialog.Shown());
  EXPECT_TRUE(dialog.Loaded());
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(owned);
  EXPECT_TRUE(IsWindowEnabled(owner_window));
  EXPECT_FALSE(IsWindowVisible(dialog_window));

  // The hidden dialog stays loaded when the form that owned it goes.
  owner.Unload();
  windows.ProcessPendingMessages();
  EXPECT_TRUE(IsWindow(dialog_window));
  dialog.SetCaption("Still here");
  EXPECT_EQ(testing::TextOf(dialog_window), L"Still here");
}

TEST_F(FormWindows, UnloadingAModalFormEnablesTheOthersAgain) {
  CountingForm owner(app, "frmOwner", "Owner", 6000, 3000);
  owner.Show();
  CountingForm dialog(app, "frmDialog", "Modal dialog", 3000, 1500);
  dialog.Load();
  HWND dialog_window = WindowOf(dialog);
  std::thread watcher([&] {
    testing::WaitForWindow(
        [&] { return IsWindowVisible(dialog_window) ? dialog_window : nullptr; });
    PostMessageW(dialog_window, WM_CLOSE, 0, 0);
  });
  dialog.Show(true, &owner);
  watcher.join();
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_TRUE(IsWindowEnabled(WindowOf(owner)));
}

TEST_F(FormWindows, RunEndsWhenTheMainFormIsUnloaded) {
  CountingForm main(app, "frmMain", "Main", 6000, 3000);
  main.Show();
  PostMessageW(WindowOf(main), WM_CLOSE, 0, 0);
  windows.Run(app, main);
  EXPECT_FALSE(main.Loaded());
}

TEST_F(FormWindows, RunEndsOnAQuitRequestAndDoesNotKeepIt) {
  CountingForm main(app, "frmMain", "Main", 6000, 3000);
  main.Show();
  PostQuitMessage(3);
  windows.Run(app, main);
  EXPECT_TRUE(main.Loaded());
  MSG left{};
  EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FormWindows, TheHourglassIsTheCursorOverABusyForm) {
  CountingForm form(app, "frmTest", "Test", 3000, 1500);
  form.Show();
  HWND window = WindowOf(form);
  const auto ask = [&] {
    return SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  app.SetBusy(true);
  EXPECT_EQ(ask(), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  app.SetBusy(false);
  ask();
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
}

TEST_F(FormWindows, EnterAndEscapePressTheDefaultAndCancelButtons) {
  CountingForm form(app, "frmOptions", "Options", 6000, 3000);
  auto& text = form.Add<TextBox>("txtFn");
  text.Move(120, 120, 2000, 285);
  text.SetTabIndex(0);
  auto& ok = form.Add<CommandButton>("cmdOK", "OK");
  ok.Move(3000, 2000, 975, 375);
  ok.SetDefault(true);
  auto& cancel = form.Add<CommandButton>("cmdCancel", "Cancel");
  cancel.Move(4000, 2000, 975, 375);
  cancel.SetCancel(true);
  int oks = 0, cancels = 0;
  ok.onClick = [&] { ++oks; };
  cancel.onClick = [&] { ++cancels; };
  form.Show();
  SetFocus(HandleOf(text));

  PostMessageW(HandleOf(text), WM_KEYDOWN, VK_RETURN, 0);
  windows.ProcessPendingMessages();
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 0);
  PostMessageW(HandleOf(text), WM_KEYDOWN, VK_ESCAPE, 0);
  windows.ProcessPendingMessages();
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);
  EXPECT_TRUE(GetWindowLongW(HandleOf(ok), GWL_STYLE) & BS_DEFPUSHBUTTON);

  // On a button that has the keyboard, Enter presses that button.
  SetFocus(HandleOf(cancel));
  PostMessageW(HandleOf(cancel), WM_KEYDOWN, VK_RETURN, 0);
  windows.ProcessPendingMessages();
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 2);
}

TEST_F(FormWindows, TabOrderFollowsTheTabIndex) {
  CountingForm form(app, "frmTest", "Test", 6000, 3000);
  auto& last = form.Add<TextBox>("txtLast");
  last.Move(120, 120, 2000, 285);
  last.SetTabIndex(2);
  auto& first = form.Add<TextBox>("txtFirst");
  first.Move(120, 600, 2000, 285);
  first.SetTabIndex(0);
  auto& middle = form.Add<CommandButton>("cmdMiddle", "Middle");
  middle.Move(120, 1200, 975, 375);
  middle.SetTabIndex(1);
  form.Show();
  HWND window = WindowOf(form);
  EXPECT_EQ(GetFocus(), HandleOf(first));
  EXPECT_EQ(GetNextDlgTabItem(window, HandleOf(first), FALSE), HandleOf(middle));
  EXPECT_EQ(GetNextDlgTabItem(window, HandleOf(middle), FALSE), HandleOf(last));
  EXPECT_EQ(GetNextDlgTabItem(window, HandleOf(last), FALSE), HandleOf(first));
}

TEST_F(FormWindows, LabelsAndFramesLieBeneathTheWorkingControls) {
  CountingForm form(app, "frmTest", "Test", 6000, 3000);
  auto& frame = form.Add<Frame>("Frame1", "Date Format");
  frame.Move(120, 120, 4000, 1500);
  auto& label = form.Add<Label>("Label2", "Save to:");
  label.Move(120, 3000 - 2400, 4000, 375);
  label.SetTabIndex(0);
  auto& box = form.Add<TextBox>("txtDir");
  box.Move(120, 3240 - 2400, 3000, 375);
  box.SetTabIndex(1);
  form.Show();
  // Top of the stacking order first.
  std::vector<HWND> order;
  for (HWND child = GetWindow(WindowOf(form), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT))
    order.push_back(child);
  EXPECT_EQ(order, (std::vector<HWND>{HandleOf(box), HandleOf(label), HandleOf(frame)}));
  EXPECT_TRUE(GetWindowLongW(HandleOf(label), GWL_STYLE) & WS_CLIPSIBLINGS);
  EXPECT_TRUE(GetWindowLongW(HandleOf(frame), GWL_STYLE) & WS_CLIPSIBLINGS);
}

}  // namespace
}  // namespace qs::win32

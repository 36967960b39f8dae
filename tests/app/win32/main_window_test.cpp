// The main window on Windows, against the fake Outlook: its keys, and one
// command at a time.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/frmMain.h"
#include "fake_outlook_registration.h"
#include "settings/frmOptions.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;
using testing::TextOf;

// Keeps the commands begun.
struct CommandWindows : Win32WindowSystem {
  void DebugOutput(std::string_view line) override {
    if (line.starts_with("begin ")) begun += std::string(line.substr(6)) + ";";
  }
  std::string begun;
};

void Send(HWND window, UINT message, WPARAM wparam = 0) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, message, wparam, 0, SMTO_NORMAL, 5000, &ignored);
}

class MainWindowOnWin32 : public ::testing::Test {
 protected:
  MainWindowOnWin32() {
    app.SetDebugLevel(1);
    app.SetMainForm(&main);
    main.Show();
    main_window = windows.WindowOf(main)->Handle();
    main.txtMailFolder.SetText("\\\\Postfach Zo\xC3\xAB\\Inbox");
    main.txtDir.SetText(dir.Text());
  }

  qs::testing::FakeOutlook outlook;
  test::ScratchDir dir;
  CommandWindows windows;
  Application app{windows};
  frmMain main{app};
  HWND main_window = nullptr;
};

// Alt and a label's letter reach its box; Enter in the Mail Folder box
// searches, the buttons' letters run their commands.
TEST_F(MainWindowOnWin32, AccessKeysAndEnterReachTheBoxesAndCommands) {
  const auto press = [&](UINT message, char key) {
    PostMessageW(GetFocus(), message, static_cast<WPARAM>(key), message == WM_SYSCHAR ? 1 << 29 : 0);
    windows.ProcessPendingMessages();
  };
  press(WM_SYSCHAR, 't');
  EXPECT_EQ(GetFocus(), HandleOf(main.txtDir));
  press(WM_SYSCHAR, 'M');
  EXPECT_EQ(GetFocus(), HandleOf(main.txtMailFolder));
  EXPECT_EQ(GetWindowLongW(HandleOf(main.cmdSearch), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  press(WM_KEYDOWN, VK_RETURN);
  press(WM_SYSCHAR, 's');
  press(WM_SYSCHAR, 'v');
  EXPECT_EQ(windows.begun, "Search;Search;Save;");
}

// While a save runs, and while a box or dialog of a command waits, the main
// window and the options dialog take no input, and clicks sent to them all
// the same start nothing; the progress window's Cancel stops the run after
// the item at hand.
TEST_F(MainWindowOnWin32, NoOtherCommandStartsWhileOneRunsOrWaits) {
  main.Options().Show();
  HWND options = windows.WindowOf(main.Options())->Handle();
  outlook.Switch(L"bulk", L"1000");
  main.txtMailFolder.SetText("\\\\Postfach Zo\xC3\xAB\\Bulk");
  main.cmdSearch.Click();
  // A user at the progress window, then at each box and dialog: what it
  // shows, whether it alone takes input; clicks on every command; then
  // Cancel or OK.
  std::wstring seen;
  std::atomic<bool> done{false};
  std::thread user([&] {
    for (HWND progress = nullptr, last = nullptr; !done; Sleep(10)) {
      HWND wait = progress ? FindWindowW(L"#32770", nullptr) : FindWindowW(windows.ClassName().c_str(), L"Saving ...");
      if (!wait || wait == last || !IsWindowVisible(wait)) continue;
      seen += TextOf(progress ? GetDlgItem(wait, 0xFFFF) : FindWindowExW(wait, nullptr, L"Static", nullptr)) +
              (IsWindowEnabled(wait) && !IsWindowEnabled(main_window) && !IsWindowEnabled(options) ? L"|" : L"|not held|");
      for (const CommandButton* button :
           {&main.cmdSearch, &main.cmdSave, &main.cmdBrowse, &main.cmdGetMailFolder, &main.Options().cmdOK})
        Send(HandleOf(*button), BM_CLICK);
      Send(main_window, WM_COMMAND, GetMenuItemID(GetSubMenu(GetMenu(main_window), 0), 0));  // Export
      Send(main_window, WM_CLOSE);
      if (progress) PostMessageW(wait, WM_COMMAND, IDOK, 0);
      Send(progress ? nullptr : FindWindowExW(wait, nullptr, L"Button", L"Cancel"), BM_CLICK);
      progress = progress ? progress : wait, last = wait;
    }
  });
  main.cmdSave.Click();
  main.txtDir.SetText("");
  main.cmdSave.Click();
  main.cmdBrowse.Click();
  done = true;
  user.join();
  const std::wstring listed = std::to_wstring(main.Found().RowCount());
  const std::size_t stop = seen.find(L"|Stopped after ");
  EXPECT_TRUE(seen.starts_with(L"Saving ") && stop != std::wstring::npos) << ToUtf8(seen);
  EXPECT_TRUE(seen.substr(seen.find(L" of ", stop)).starts_with(L" of " + listed + L".|The 'Save to' box is blank||"))
      << ToUtf8(seen);
  EXPECT_EQ(windows.begun, "Search;Save;Save;Pick directory;");
  EXPECT_TRUE(app.FailureShown()) << "a stopped run is a failure";
  EXPECT_TRUE(main.Loaded() && main.Options().Shown() && IsWindowEnabled(main_window) && IsWindowEnabled(options));
}

}  // namespace
}  // namespace qs::win32

// Message boxes and the input box are real dialogs; a watcher thread answers
// them as a user would.

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "platform/folder_dialog.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::CountingForm;
using testing::WaitForWindow;

HWND FindDialog(const wchar_t* title) {
  // Found once shown: while it is being made its buttons are not yet set up.
  return WaitForWindow([&] {
    HWND box = FindWindowW(L"#32770", title);
    return box && IsWindowVisible(box) ? box : nullptr;
  });
}

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

class Boxes : public ::testing::Test {
 protected:
  Win32WindowSystem windows;
  Application app{windows};
};

TEST_F(Boxes, AMessageBoxHasTheAskedButtonsAndReturnsThePressedOne) {
  std::atomic<bool> has_yes{false}, has_cancel{false}, no_is_default{false};
  std::thread user([&] {
    HWND box = FindDialog(L"Quillstow test");
    if (!box) return;
    // The system's box may hold every button and hide those it does not use.
    has_yes = IsWindowVisible(GetDlgItem(box, IDYES));
    has_cancel = IsWindowVisible(GetDlgItem(box, IDCANCEL));
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &input);
    no_is_default =
        (GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
        GetDlgCtrlID(input.hwndFocus) == IDNO;
    Press(box, IDNO);
  });
  const Answer answer =
      windows.ShowMessage({"Quillstow test", "Overwrite?", Buttons::YesNo, Icon::Question, 1});
  user.join();
  EXPECT_EQ(answer, Answer::No);
  EXPECT_TRUE(has_yes);
  EXPECT_FALSE(has_cancel);
  EXPECT_TRUE(no_is_default);
}

TEST_F(Boxes, AMessageBoxBelongsToTheActiveForm) {
  CountingForm form(app, "frmMain", "Main", 6000, 3000);
  form.Show();
  HWND main_window = windows.WindowOf(form)->Handle();
  std::atomic<HWND> owner{nullptr};
  std::atomic<bool> main_disabled{false};
  std::thread user([&] {
    HWND box = FindDialog(L"Owned box");
    if (!box) return;
    owner = GetWindow(box, GW_OWNER);
    main_disabled = !IsWindowEnabled(main_window);
    Press(box, IDOK);
  });
  const Answer answer = windows.ShowMessage({"Owned box", "There are no emails in the list."});
  user.join();
  EXPECT_EQ(answer, Answer::OK);
  EXPECT_EQ(owner.load(), main_window);
  EXPECT_TRUE(main_disabled);
  EXPECT_TRUE(IsWindowEnabled(main_window));
}

TEST_F(Boxes, TheInputBoxGivesTheTypedTextOnOK) {
  std::atomic<bool> initial_shown{false};
  std::thread user([&] {
    HWND box = FindDialog(L"Folder");
    if (!box) return;
    wchar_t text[64] = {};
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    GetWindowTextW(edit, text, 64);
    initial_shown = std::wstring(text) == L"Inbox";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Inbox\\Gr\u00FC\u00DFe"));
    Press(box, IDOK);
  });
  const auto answer = windows.AskText("Mail folder path:", "Folder", "Inbox");
  user.join();
  EXPECT_TRUE(initial_shown);
  EXPECT_EQ(answer, std::optional<std::string>("Inbox\\Gr\xC3\xBC\xC3\x9F"
                                               "e"));
}

TEST_F(Boxes, TheInputBoxGivesNothingOnCancelOrClose) {
  std::thread cancel([&] {
    if (HWND box = FindDialog(L"Cancelled")) Press(box, IDCANCEL);
  });
  EXPECT_EQ(windows.AskText("Prompt", "Cancelled", "text"), std::nullopt);
  cancel.join();

  std::thread close([&] {
    if (HWND box = FindDialog(L"Closed")) PostMessageW(box, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(windows.AskText("Prompt", "Closed", ""), std::nullopt);
  close.join();
}

TEST_F(Boxes, AnEmptyAnswerIsNotACancel) {
  std::thread user([&] {
    if (HWND box = FindDialog(L"Empty")) {
      SendMessageW(FindWindowExW(box, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L""));
      Press(box, IDOK);
    }
  });
  EXPECT_EQ(windows.AskText("Prompt", "Empty", "something"), std::optional<std::string>(""));
  user.join();
}

// The shell's folder dialog of this process, once shown.
HWND FindFolderDialog() {
  return WaitForWindow([] {
    struct Search {
      DWORD process;
      HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& wanted = *reinterpret_cast<Search*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          wchar_t name[16] = {};
          GetClassNameW(window, name, 16);
          if (process != wanted.process || std::wstring(name) != L"#32770" || !IsWindowVisible(window))
            return TRUE;
          wanted.found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  });
}

// The directory picker goes through the shell's automation object; a user
// who cancels gets no path, one who accepts the folder offered gets its path.
TEST_F(Boxes, TheFolderDialogGivesNoPathOnCancelAndThePathOnOk) {
  std::atomic<bool> shown{false};
  std::thread cancel([&] {
    if (HWND dialog = FindFolderDialog()) {
      shown = true;
      Press(dialog, IDCANCEL);
    }
  });
  EXPECT_EQ(BrowseForFolderPath(app, "Choose Directory"), std::nullopt);
  cancel.join();
  EXPECT_TRUE(shown);

  std::thread accept([&] {
    if (HWND dialog = FindFolderDialog()) Press(dialog, IDOK);
  });
  const std::optional<std::string> path = BrowseForFolderPath(app, "Choose Directory");
  accept.join();
  ASSERT_TRUE(path.has_value());
  EXPECT_FALSE(path->empty());
}

}  // namespace
}  // namespace qs::win32

// Message boxes, the input box and the folder dialog are real dialogs; a
// thread answers them as a user would.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/folder_dialog.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// Acts on the next dialog once it is shown (while it is being made its
// buttons are not yet set up), from a thread of its own.
class User {
 public:
  explicit User(std::function<void(HWND)> act)
      : thread_([act] {
          HWND box = testing::WaitForWindow([] {
            HWND found = FindWindowW(L"#32770", nullptr);
            return found && IsWindowVisible(found) ? found : nullptr;
          });
          if (box) act(box);
        }) {}
  ~User() { thread_.join(); }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

 private:
  std::thread thread_;
};

using Boxes = testing::FormTest;

TEST_F(Boxes, AMessageBoxBelongsToTheActiveFormAndReturnsThePressedButton) {
  form.Show();
  HWND main_window = WindowOf(form);
  std::atomic<bool> buttons{false}, no_is_default{false}, owned{false};
  {
    const User user([&](HWND box) {
      // The system's box may hold every button and hide those it does not use.
      buttons = IsWindowVisible(GetDlgItem(box, IDYES)) &&
                !IsWindowVisible(GetDlgItem(box, IDCANCEL));
      GUITHREADINFO input{};
      input.cbSize = sizeof input;
      GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &input);
      no_is_default = GetDlgCtrlID(input.hwndFocus) == IDNO;
      owned = GetWindow(box, GW_OWNER) == main_window && !IsWindowEnabled(main_window);
      Press(box, IDNO);
    });
    EXPECT_EQ(windows.ShowMessage({"Test", "Overwrite?", Buttons::YesNo, Icon::Question, 1}),
              Answer::No);
  }
  EXPECT_TRUE(buttons && no_is_default && owned) << buttons << no_is_default << owned;
  EXPECT_TRUE(IsWindowEnabled(main_window));
}

TEST_F(Boxes, TheInputBoxGivesTheTypedTextOnOKAndNothingOnCancelOrClose) {
  const struct {
    const wchar_t* typed;
    int button;  // 0: the close box
    std::optional<std::string> expected;
  } cases[] = {
      {L"Inbox\\Gr\u00FC\u00DFe", IDOK, "Inbox\\Gr\xC3\xBC\xC3\x9F" "e"},
      {L"", IDOK, ""},  // an empty answer is not a cancel
      {L"typed", IDCANCEL, std::nullopt},
      {L"typed", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    std::atomic<bool> initial_shown{false};
    const User user([&](HWND box) {
      HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
      initial_shown = testing::TextOf(edit) == L"Inbox";
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
      if (c.button) Press(box, c.button);
      else PostMessageW(box, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(windows.AskText("Mail folder path:", "Folder", "Inbox"), c.expected) << c.button;
    EXPECT_TRUE(initial_shown);
  }
}

// The directory picker goes through the shell's automation object; a user
// who cancels gets no path, one who accepts the folder offered gets its path.
TEST_F(Boxes, TheFolderDialogGivesNoPathOnCancelAndThePathOnOk) {
  for (const int button : {IDCANCEL, IDOK}) {
    const User user([&](HWND dialog) { Press(dialog, button); });
    EXPECT_EQ(BrowseForFolderPath(app, "Choose Directory").value_or("").empty(),
              button == IDCANCEL);
  }
}

}  // namespace
}  // namespace qs::win32

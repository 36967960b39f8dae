// The Win32 layer: forms as windows, controls as child windows that show what
// the program sets and take what the user does, and the system's dialogs,
// answered by a thread as a user would.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include "platform/folder_dialog.h"
#include "platform/list_view.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;
using testing::TextOf;

class CountingForm : public Form {
 public:
  CountingForm(Application& app, std::string name, int width = 6000, int height = 3000)
      : Form(app, name, name, width, height) {}
  int resizes = 0, unloads = 0;
  bool refuse_unload = false;

 protected:
  void OnResize() override { ++resizes; }
  void OnUnload(bool& cancel) override {
    ++unloads;
    cancel = refuse_unload;
  }
};

// A window system with a form that counts its events.
class FormWindows : public ::testing::Test {
 protected:
  HWND WindowOf(const Form& shown) const { return windows.WindowOf(shown)->Handle(); }

  Win32WindowSystem windows;
  Application app{windows};
  CountingForm form{app, "frmTest"};
};

// Waits up to five seconds for a window that find() returns.
HWND WaitForWindow(const std::function<HWND()>& find) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < until) {
    if (HWND found = find()) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return nullptr;
}

// Sends a control's notification to its form as the control itself would.
void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
               reinterpret_cast<LPARAM>(control));
}

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

SIZE OuterSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

using Rect = std::array<LONG, 4>;
Rect ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

using Controls = FormWindows;
using Boxes = FormWindows;

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
  Notify(HandleOf(fail), BN_CLICKED);
  EXPECT_EQ(form.unloads, 1);
  EXPECT_TRUE(form.Loaded());
  form.refuse_unload = false;
  Notify(HandleOf(exit), BN_CLICKED);
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
    WaitForWindow([&] { return IsWindowVisible(window) ? window : nullptr; });
    owned_and_alone = !IsWindowEnabled(owner) && GetWindow(window, GW_OWNER) == owner;
    Press(window, GetDlgCtrlID(HandleOf(close)));
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

// Typed into the window, back in the control: the program reads controls.
TEST_F(Controls, TextsPicksAndClicksComeBackIntoTheControls) {
  auto& box = form.Add<TextBox>("txtDir");
  box.Move(120, 120, 3000, 375);
  int changes = 0;
  box.onChange = [&] { ++changes; };
  auto& combo = form.Add<ComboBox>("cboFnOutput");
  combo.Move(3240, 120, 855, 315);
  for (const char* item : {"MSG", "TXT", "DIR"}) combo.AddItem(item);
  combo.SetText("MSG");
  auto& check = form.Add<CheckBox>("UseDate");
  check.Move(120, 360, 255, 255);
  int clicks = 0;
  check.onClick = [&] { ++clicks; };
  form.Show();

  HWND edit = HandleOf(box);
  box.SetText("D:\\Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(TextOf(edit), L"D:\\Gr\u00FC\u00DFe");
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"E:\\Typed"));
  SendMessageW(edit, EM_SETSEL, 8, 8);
  SendMessageW(edit, WM_CHAR, L'\u00E9', 0);
  EXPECT_EQ(box.Text(), "E:\\Typed\xC3\xA9");
  EXPECT_EQ(changes, 3);

  HWND list = HandleOf(combo);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(TextOf(list), L"MSG");
  SendMessageW(list, CB_SETCURSEL, 2, 0);
  Notify(list, CBN_SELCHANGE);
  EXPECT_EQ(combo.Text(), "DIR");
  edit = FindWindowExW(list, nullptr, L"Edit", nullptr);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"rt"));
  SendMessageW(edit, EM_SETSEL, 2, 2);
  SendMessageW(edit, WM_CHAR, L'f', 0);
  EXPECT_EQ(combo.Text(), "rtf");

  // A click moves on from any state, the grayed one too.
  HWND button = HandleOf(check);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(check.Value(), CheckBox::Checked);
  check.SetValue(CheckBox::Grayed);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(check.Value(), CheckBox::Unchecked);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 3);
}

// Rows for the list view from a table of texts.
struct TableRows final : ListRows {
  std::int32_t RowCount() const override { return static_cast<std::int32_t>(rows.size()); }
  std::string Text(std::int32_t row, int column) const override {
    return rows.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column));
  }
  std::vector<std::vector<std::string>> rows;
};

// The list is an owner-data view: it asks the program's rows for each text.
TEST_F(Controls, TheListViewShowsTheRowsOfItsModel) {
  auto& list = form.Add<ListView>("ListView1");
  list.Move(120, 600, 5700, 1695);
  for (const char* header : {"Sent", "From", "Subject"}) list.AddColumn(header);
  form.Show();
  HWND handle = HandleOf(list);
  const auto cell = [&](int item, int column) {
    wchar_t text[64] = {};
    LVITEMW wanted{};
    wanted.iSubItem = column;
    wanted.pszText = text;
    wanted.cchTextMax = 64;
    SendMessageW(handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&wanted));
    return std::wstring(text);
  };
  TableRows rows;
  list.ShowRows(rows);
  for (int row = 1; row <= 3; ++row) {
    rows.rows.push_back({"2026-12-0" + std::to_string(row), "", "Subject " + std::to_string(row)});
    list.RowsChanged();
  }
  rows.rows.push_back({std::string(200, 'x')});
  list.RowsChanged();
  // Rows arriving in a burst reach the view once the message loop runs again.
  windows.ProcessPendingMessages();
  EXPECT_EQ(SendMessageW(handle, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(cell(0, 0), L"2026-12-01");
  EXPECT_EQ(cell(2, 2), L"Subject 3");
  EXPECT_EQ(cell(3, 0), std::wstring(63, L'x'));  // cut to the view's buffer
  rows.rows[1][2] = "Changed \xE2\x82\xAC";
  EXPECT_EQ(cell(1, 2), L"Changed \u20AC");
  rows.rows.clear();
  list.RowsChanged();
  windows.ProcessPendingMessages();
  EXPECT_EQ(SendMessageW(handle, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(Controls, MenuEntriesAreClickedByChoiceOrShortcut) {
  std::string clicked;
  form.Add<MenuItem>("mnuOptions", "&Options").onClick = [&] { clicked += "options "; };
  auto& help = form.Add<MenuItem>("mnuHelp", "&Help");
  form.Add<MenuItem>("mnuHelpContents", "&Contents", &help, "F1").onClick = [&] {
    clicked += "contents ";
  };
  form.Add<MenuItem>("mnuHelp1", "-", &help);
  form.Add<MenuItem>("mnuHelpAbout", "&About", &help).onClick = [&] { clicked += "about "; };
  form.Show();
  HWND window = WindowOf(form);
  HMENU bar = GetMenu(window), help_menu = GetSubMenu(bar, 1);
  wchar_t caption[64] = {};
  GetMenuStringW(help_menu, 0, caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"&Contents\tF1");
  EXPECT_TRUE(GetMenuState(help_menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  SendMessageW(window, WM_COMMAND, GetMenuItemID(help_menu, 2), 0);
  SendMessageW(window, WM_COMMAND, GetMenuItemID(bar, 0), 0);
  PostMessageW(window, WM_KEYDOWN, VK_F1, 0);
  windows.ProcessPendingMessages();
  EXPECT_EQ(clicked, "about options contents ");
}

// Acts on the next dialog once it is shown (while it is being made its
// buttons are not yet set up), from a thread of its own.
class User {
 public:
  explicit User(std::function<void(HWND)> act)
      : thread_([act] {
          HWND box = WaitForWindow([] {
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
    std::atomic<bool> initial_shown{false}, captioned{false};
    const User user([&](HWND box) {
      HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
      initial_shown = testing::TextOf(edit) == L"Inbox";
      captioned = testing::TextOf(GetDlgItem(box, IDOK)) == L"OK" &&
                  testing::TextOf(GetDlgItem(box, IDCANCEL)) == L"Cancel";
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
      if (c.button) Press(box, c.button);
      else PostMessageW(box, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(windows.AskText("Mail folder path:", "Folder", "Inbox"), c.expected) << c.button;
    EXPECT_TRUE(initial_shown);
    EXPECT_TRUE(captioned) << "the buttons have their captions";
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

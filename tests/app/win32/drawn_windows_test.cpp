// Every window as a user sees it on a real screen (an X server under Wine) at
// 96, 120 and 144 DPI (drawn_windows_test.sh), whole as it opens and, for the
// main window with the list filled from the fake Outlook, after every resize.
// The pixels come from the screen itself: a window asked to print itself
// would draw every control afresh and hide a control that the screen lost.
// And the main window in a user's hands: its keys, and one command at a time.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "fake_outlook_registration.h"
#include "platform/win32/handles.h"
#include "platform/win32/metrics.h"
#include "platform/win32/utf16.h"
#include "save/frmProgress.h"
#include "settings/frmOptions.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;
using testing::TextOf;

// The drawing reaches the X server once the program waits for messages.
void Settle(Win32WindowSystem& windows) {
  for (int round = 0; round < 12; ++round, Sleep(25)) windows.ProcessPendingMessages();
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The whole screen as the display shows it, one 0x00RRGGBB value a pixel.
class Screen {
 public:
  Screen() : pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    HDC screen = GetDC(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width_, height_));
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    SelectObject(memory.get(), old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height_), pixels_.data(), &info,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
  }

  std::uint32_t At(LONG x, LONG y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<std::size_t>(y * width_ + x)] & 0xFFFFFF;
  }

  // How many pixels of a rectangle on the screen are not of the system colour.
  int CountOtherThan(const RECT& area, int colour) const {
    const COLORREF wanted = GetSysColor(colour);
    const std::uint32_t rgb = GetRValue(wanted) << 16 | GetGValue(wanted) << 8 | GetBValue(wanted);
    int count = 0;
    for (LONG y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
      for (LONG x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
        count += (pixels_[static_cast<std::size_t>(y * width_ + x)] & 0xFFFFFF) != rgb;
    return count;
  }

 private:
  int width_ = GetSystemMetrics(SM_CXSCREEN), height_ = GetSystemMetrics(SM_CYSCREEN);
  std::vector<std::uint32_t> pixels_;
};

// A text's room in a control's font, on one line or broken to a width.
SIZE TextRoom(HWND window, const std::string& text, int wrap_width = 0) {
  const std::wstring wide = ToUtf16(text);
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT room{0, 0, wrap_width, 0};
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &room,
            DT_CALCRECT | (wrap_width ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {room.right, room.bottom};
}

// The room a caption needs beside the text: edges, the check box, the
// drop-down button.
void ExpectCaptionFits(const Control& control, HWND window, const std::string& what) {
  RECT have{};
  GetClientRect(window, &have);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const std::string text = ToUtf8(testing::TextOf(window));
  if (dynamic_cast<const Label*>(&control)) {
    const SIZE need = TextRoom(window, text, have.right);
    EXPECT_TRUE(need.cx <= have.right && need.cy <= have.bottom) << what;
  } else if (dynamic_cast<const CommandButton*>(&control)) {
    EXPECT_LE(TextRoom(window, text).cx + 4 * edge, have.right) << what;
  } else if (dynamic_cast<const CheckBox*>(&control)) {
    EXPECT_LE(GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge + TextRoom(window, text).cx, have.right)
        << what;
  } else if (dynamic_cast<const Frame*>(&control)) {
    EXPECT_LE(TextRoom(window, text).cx + 8 * edge, have.right) << what;
  } else if (const auto* combo = dynamic_cast<const ComboBox*>(&control)) {
    for (const auto& item : combo->Items())
      EXPECT_LE(TextRoom(window, item).cx + GetSystemMetrics(SM_CXVSCROLL) + 2 * edge, have.right)
          << what << " " << item;
  }
}

// Each control the form shows is shown inside the window (unless the form is
// smaller than designed), drawn, clear of the other working controls (labels
// and frames may lie under them), with its caption whole.
void ExpectWholeForm(const Form& form, HWND window, bool inside_the_window = true) {
  const Screen screen;
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<std::pair<std::string, RECT>> working;
  for (const auto& control : form.Controls()) {
    HWND handle = HandleOf(*control);
    const std::string what = form.Name() + "." + control->Name();
    if (!handle || !control->Visible()) continue;  // a menu entry, or hidden by design
    ASSERT_TRUE(IsWindowVisible(handle)) << what;
    const RECT area = ScreenRect(handle);
    RECT inside{};
    EXPECT_TRUE(!inside_the_window || (IntersectRect(&inside, &area, &client) &&
                                       EqualRect(&inside, &area)))
        << what;
    ExpectCaptionFits(*control, handle, what);
    EXPECT_TRUE(!dynamic_cast<const CommandButton*>(control.get()) || !testing::TextOf(handle).empty()) << what;
    if (dynamic_cast<const Label*>(control.get()) || dynamic_cast<const Frame*>(control.get())) {
      EXPECT_EQ(screen.CountOtherThan(area, COLOR_BTNFACE) > 0, !testing::TextOf(handle).empty())
          << what;
      continue;
    }
    // Drawn, it shows more than the form's background: a button its edges and
    // caption, a combo box its border and arrow.
    const int perimeter = 2 * ((area.right - area.left) + (area.bottom - area.top));
    EXPECT_GT(screen.CountOtherThan(area, COLOR_BTNFACE), perimeter / 2) << what;
    for (const auto& [other, other_area] : working)
      EXPECT_FALSE(IntersectRect(&inside, &area, &other_area)) << what << " on " << other;
    working.emplace_back(what, area);
  }
}

// The pixels along the edges of each control of a form, with the keyboard in
// its list (no caret, no focus on a button).
using Edges = std::vector<std::pair<std::string, std::vector<std::uint32_t>>>;
Edges Borders(const frmMain& form, Win32WindowSystem& windows) {
  SetFocus(HandleOf(form.ListView1));
  windows.WindowOf(form)->ShowDefaultButton();
  Settle(windows);
  const Screen screen;
  Edges borders;
  for (const auto& control : form.Controls()) {
    if (!HandleOf(*control) || !IsWindowVisible(HandleOf(*control))) continue;
    const RECT area = ScreenRect(HandleOf(*control));
    std::vector<std::uint32_t>& edges = borders.emplace_back(control->Name(), 0).second;
    for (LONG x = area.left; x < area.right; ++x)
      edges.insert(edges.end(), {screen.At(x, area.top), screen.At(x, area.bottom - 1)});
    for (LONG y = area.top; y < area.bottom; ++y)
      edges.insert(edges.end(), {screen.At(area.left, y), screen.At(area.right - 1, y)});
  }
  return borders;
}

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

class DrawnWindows : public ::testing::Test {
 protected:
  // As the program's manifest says: it draws for the screen's DPI itself.
  static void SetUpTestSuite() { SetProcessDPIAware(); }

  DrawnWindows() {
    app.SetMainForm(&main);
    main.Show();
    window = windows.WindowOf(main)->Handle();
    // drawn_windows_test.sh runs the program at each DPI it asks for.
    const char* asked = std::getenv("QUILLSTOW_EXPECTED_DPI");
    EXPECT_EQ(WindowDpi(window), std::atoi(asked ? asked : "0"));
    Settle(windows);
  }

  qs::testing::FakeOutlook outlook;
  CommandWindows windows;
  Application app{windows};
  frmMain main{app};
  HWND window = nullptr;
};

TEST_F(DrawnWindows, TheMainWindowOpensWholeAndStaysDrawnAfterEveryResize) {
  ExpectWholeForm(main, window);
  main.txtMailFolder.SetText("\\\\Postfach Zo\xC3\xAB\\Inbox");
  main.cmdSearch.Click();
  ASSERT_GT(main.ListView1.RowCount(), 2);
  const RECT designed = ScreenRect(window);
  const struct {
    const char* name;
    int width, height;  // in quarters of the designed size
  } steps[] = {{"taller", 4, 6}, {"shorter", 4, 3}, {"wider", 6, 4}, {"narrower", 3, 4}, {"restored", 4, 4}};
  for (const auto& step : steps) {
    // Dragged there in a few moves, drawn once the last is made, as the
    // system draws for a quick drag.
    const RECT from = ScreenRect(window);
    const LONG width = from.right - from.left, height = from.bottom - from.top;
    const LONG to_width = (designed.right - designed.left) * step.width / 4;
    const LONG to_height = (designed.bottom - designed.top) * step.height / 4;
    for (int move = 1; move <= 4; ++move)
      SetWindowPos(window, nullptr, 0, 0, width + (to_width - width) * move / 4,
                   height + (to_height - height) * move / 4, SWP_NOMOVE | SWP_NOZORDER);
    Settle(windows);
    SCOPED_TRACE(step.name);
    ExpectWholeForm(main, window, step.width >= 4 && step.height >= 4);
    // The list's rows, below its header.
    RECT rows = ScreenRect(HandleOf(main.ListView1));
    rows.top = ScreenRect(ListView_GetHeader(HandleOf(main.ListView1))).bottom;
    EXPECT_GT(Screen().CountOtherThan(rows, COLOR_WINDOW), 0) << "rows";
    // Every control as a window opened at this size draws it.
    const auto resized = Borders(main, windows);
    frmMain fresh(app);
    fresh.Show();
    const RECT place = ScreenRect(window);
    SetWindowPos(windows.WindowOf(fresh)->Handle(), HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, 0);
    const auto opened = Borders(fresh, windows);
    ASSERT_EQ(resized.size(), opened.size());
    for (std::size_t i = 0; i < resized.size(); ++i) EXPECT_TRUE(resized[i] == opened[i]) << resized[i].first;
  }
}

TEST_F(DrawnWindows, TheOtherWindowsOpenWholeAndTheOptionsBesideTheList) {
  frmOptions& options = main.Options();
  options.Show();
  Settle(windows);
  HWND dialog = windows.WindowOf(options)->Handle();
  ExpectWholeForm(options, dialog);
  RECT overlap{};
  const RECT list = ScreenRect(HandleOf(main.ListView1)), beside = ScreenRect(dialog);
  EXPECT_FALSE(IntersectRect(&overlap, &list, &beside));
  options.Hide();
  frmAbout about(app);
  about.Show(false, &main);
  frmProgress progress(app);
  progress.Show();
  progress.ProgressBar1.SetRange(0, 32767);
  progress.ShowItem(32767, 32767);
  Settle(windows);
  ExpectWholeForm(about, windows.WindowOf(about)->Handle());
  ExpectWholeForm(progress, windows.WindowOf(progress)->Handle());
  about.Unload();
  progress.Close();
}

// The commands are reached by their keys: Enter in the Mail Folder box, Alt
// and a button's letter; Alt and a label's letter reach its box. While a save
// runs, and while a box or dialog of a command waits, the main window and the
// options dialog take no input, and clicks sent to them all the same start
// nothing; the progress window's Cancel stops the run after the item at hand.
TEST_F(DrawnWindows, KeysRunCommandsAndNoOtherStartsWhileOneRunsOrWaits) {
  test::ScratchDir dir;
  app.SetDebugLevel(1);
  main.Options().Show();
  HWND options = windows.WindowOf(main.Options())->Handle();
  outlook.Switch(L"bulk", L"1000");
  main.txtMailFolder.SetText("\\\\Postfach Zo\xC3\xAB\\Bulk");
  main.txtDir.SetText(dir.Text());
  const auto press = [&](UINT message, char key) {
    PostMessageW(GetFocus(), message, static_cast<WPARAM>(key), message == WM_SYSCHAR ? 1 << 29 : 0);
    windows.ProcessPendingMessages();
  };
  SetActiveWindow(window);
  press(WM_SYSCHAR, 't');
  EXPECT_EQ(GetFocus(), HandleOf(main.txtDir));
  press(WM_SYSCHAR, 'M');
  EXPECT_EQ(GetFocus(), HandleOf(main.txtMailFolder));
  EXPECT_EQ(GetWindowLongW(HandleOf(main.cmdSearch), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  press(WM_KEYDOWN, VK_RETURN);
  press(WM_SYSCHAR, 's');
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
              (IsWindowEnabled(wait) && !IsWindowEnabled(window) && !IsWindowEnabled(options) ? L"|" : L"|not held|");
      for (const CommandButton* button :
           {&main.cmdSearch, &main.cmdSave, &main.cmdBrowse, &main.cmdGetMailFolder, &main.Options().cmdOK})
        Send(HandleOf(*button), BM_CLICK);
      Send(window, WM_COMMAND, GetMenuItemID(GetSubMenu(GetMenu(window), 0), 0));  // Export
      Send(window, WM_CLOSE);
      if (progress) PostMessageW(wait, WM_COMMAND, IDOK, 0);
      Send(progress ? nullptr : FindWindowExW(wait, nullptr, L"Button", L"Cancel"), BM_CLICK);
      progress = progress ? progress : wait, last = wait;
    }
  });
  press(WM_SYSCHAR, 'v');
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
  EXPECT_EQ(windows.begun, "Search;Search;Save;Save;Pick directory;");
  EXPECT_TRUE(app.FailureShown()) << "a stopped run is a failure";
  EXPECT_TRUE(main.Loaded() && main.Options().Shown() && IsWindowEnabled(window) && IsWindowEnabled(options));
}

}  // namespace
}  // namespace qs::win32

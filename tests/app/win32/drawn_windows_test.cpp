// Every window as a user sees it on a real screen (an X server under Wine) at
// 96, 120 and 144 DPI (drawn_windows_test.sh), whole as it opens and, for the
// main window with the list filled from the fake Outlook, after every resize.
// The pixels come from the screen itself: a window asked to print itself
// would draw every control afresh and hide a control that the screen lost.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "fake_outlook_registration.h"
#include "platform/win32/handles.h"
#include "platform/win32/metrics.h"
#include "platform/win32/utf16.h"
#include "save/frmProgress.h"
#include "settings/frmOptions.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;

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
  Win32WindowSystem windows;
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
    int show, quarters;  // the designed size times quarters / 4
  } steps[] = {{"grown", SW_SHOWNORMAL, 6}, {"maximized", SW_MAXIMIZE, 0},
               {"restored", SW_RESTORE, 0}, {"shrunk", SW_SHOWNORMAL, 3}};
  for (const auto& step : steps) {
    ShowWindow(window, step.show);
    if (step.quarters)
      SetWindowPos(window, nullptr, 0, 0, (designed.right - designed.left) * step.quarters / 4,
                   (designed.bottom - designed.top) * step.quarters / 4,
                   SWP_NOMOVE | SWP_NOZORDER);
    Settle(windows);
    SCOPED_TRACE(step.name);
    ExpectWholeForm(main, window, step.quarters != 3);
    // The list's rows, below its header.
    RECT rows = ScreenRect(HandleOf(main.ListView1));
    rows.top = ScreenRect(ListView_GetHeader(HandleOf(main.ListView1))).bottom;
    EXPECT_GT(Screen().CountOtherThan(rows, COLOR_WINDOW), 0) << "rows";
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

}  // namespace
}  // namespace qs::win32

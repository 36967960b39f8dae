// The windows as a user sees them on a real screen (an X server under Wine),
// at 96, 120 and 144 DPI (drawn_windows_test.sh): the main window, the
// options dialog, the About box and the progress window open with every
// control shown inside the window, drawn, clear of the other working
// controls and with its caption whole in its font; the main window's
// buttons and list stay drawn after it grows, is maximized, restored and
// shrunk, with the list filled from the fake Outlook. The pixels come from
// the screen itself: a window asked to print itself would draw every control
// afresh and hide a control that the screen lost.

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
using testing::TextOf;

// The drawing reaches the X server once the program waits for messages.
void Settle(Win32WindowSystem& windows) {
  for (int round = 0; round < 12; ++round) {
    windows.ProcessPendingMessages();
    Sleep(25);
  }
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The whole screen as the display shows it.
class ScreenCapture {
 public:
  ScreenCapture()
      : width_(GetSystemMetrics(SM_CXSCREEN)),
        height_(GetSystemMetrics(SM_CYSCREEN)),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen));
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (memory && bitmap) {
      HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
      BitBlt(memory.get(), 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
      GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(first, first + pixels_.size());
      SelectObject(memory.get(), old);
    }
    ReleaseDC(nullptr, screen);
  }

  // How many pixels of a rectangle on the screen are not of the colour.
  int CountOtherThan(const RECT& area, COLORREF colour) const {
    const std::uint32_t wanted = static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
                                 static_cast<std::uint32_t>(GetGValue(colour)) << 8 |
                                 GetBValue(colour);
    int count = 0;
    for (LONG y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
      for (LONG x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
        count += (pixels_[static_cast<std::size_t>(y * width_ + x)] & 0xFFFFFF) != wanted;
    return count;
  }

 private:
  int width_, height_;
  std::vector<std::uint32_t> pixels_;
};

// A control that was drawn shows more than the form's plain background: a
// button its edges and caption, a combo box its border and arrow.
void ExpectDrawn(const ScreenCapture& screen, HWND window, const std::string& what) {
  const RECT area = ScreenRect(window);
  const int perimeter = 2 * ((area.right - area.left) + (area.bottom - area.top));
  EXPECT_GT(screen.CountOtherThan(area, GetSysColor(COLOR_BTNFACE)), perimeter / 2) << what;
}

// The room a text takes in the font of a control's window, laid out on one
// line or broken into lines of the given width.
SIZE TextRoom(HWND window, const std::wstring& text, int wrap_width = 0) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT room{0, 0, wrap_width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room,
            DT_CALCRECT | (wrap_width ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {room.right - room.left, room.bottom - room.top};
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

// Every caption of the form has the room it needs in its control: the text
// plus the parts the control draws beside it (edges, the check box, the
// drop-down button).
void ExpectCaptionsFit(const Form& form) {
  const int edge = GetSystemMetrics(SM_CXEDGE);
  for (const auto& control : form.Controls()) {
    HWND window = HandleOf(*control);
    if (!window || !IsWindowVisible(window)) continue;
    const std::wstring text = TextOf(window);
    const SIZE have = ClientSize(window);
    const std::string what = form.Name() + "." + control->Name();
    if (dynamic_cast<const Label*>(control.get())) {
      const SIZE need = TextRoom(window, text, have.cx);
      EXPECT_LE(need.cx, have.cx) << what;
      EXPECT_LE(need.cy, have.cy) << what;
    } else if (dynamic_cast<const CommandButton*>(control.get())) {
      EXPECT_LE(TextRoom(window, text).cx + 4 * edge, have.cx) << what;
    } else if (dynamic_cast<const CheckBox*>(control.get())) {
      EXPECT_LE(GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge + TextRoom(window, text).cx, have.cx)
          << what;
    } else if (dynamic_cast<const Frame*>(control.get())) {
      EXPECT_LE(TextRoom(window, text).cx + 8 * edge, have.cx) << what;
    } else if (const auto* combo = dynamic_cast<const ComboBox*>(control.get())) {
      for (const auto& item : combo->Items())
        EXPECT_LE(TextRoom(window, ToUtf16(item)).cx + GetSystemMetrics(SM_CXVSCROLL) + 2 * edge,
                  have.cx)
            << what << " " << item;
    } else if (dynamic_cast<const ListView*>(control.get())) {
      HWND header = reinterpret_cast<HWND>(SendMessageW(window, LVM_GETHEADER, 0, 0));
      const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
      for (int column = 0; column < columns; ++column) {
        wchar_t caption[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&item));
        EXPECT_LE(TextRoom(header, caption).cx + 4 * edge, item.cxy) << what << " " << column;
      }
    }
  }
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The form as it opens: each control the form shows is shown inside the
// window, drawn, and clear of the other working controls (labels and
// frames may lie under them), with its caption whole.
void ExpectWholeForm(const Form& form, HWND window) {
  const ScreenCapture screen;
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<std::pair<std::string, RECT>> working;
  for (const auto& control : form.Controls()) {
    HWND handle = HandleOf(*control);
    if (!handle) continue;  // a menu entry
    const std::string what = form.Name() + "." + control->Name();
    ASSERT_EQ(IsWindowVisible(handle) != FALSE, control->Visible()) << what;
    if (!control->Visible()) continue;
    const RECT area = ScreenRect(handle);
    EXPECT_TRUE(Inside(area, client)) << what;
    if (dynamic_cast<const Label*>(control.get()) || dynamic_cast<const Frame*>(control.get())) {
      EXPECT_EQ(screen.CountOtherThan(area, GetSysColor(COLOR_BTNFACE)) > 0,
                !TextOf(handle).empty())
          << what;
      continue;
    }
    ExpectDrawn(screen, handle, what);
    RECT overlap{};
    for (const auto& [other, other_area] : working)
      EXPECT_FALSE(IntersectRect(&overlap, &area, &other_area)) << what << " on " << other;
    working.emplace_back(what, area);
  }
  ExpectCaptionsFit(form);
}

class DrawnWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // As the program's manifest says: it draws for the screen's DPI itself.
    SetProcessDPIAware();
  }

  DrawnWindows() {
    app.SetMainForm(&main);
    main.Show();
    window = windows.WindowOf(main)->Handle();
  }

  void ExpectDpiAsAsked() const {
    if (const char* asked = std::getenv("QUILLSTOW_EXPECTED_DPI")) {
      EXPECT_EQ(WindowDpi(window), std::atoi(asked));
    }
  }

  qs::testing::FakeOutlook outlook;
  Win32WindowSystem windows;
  Application app{windows};
  frmMain main{app};
  HWND window = nullptr;
};

TEST_F(DrawnWindows, TheMainWindowOpensWholeAndStaysDrawnAfterEveryResize) {
  ExpectDpiAsAsked();
  Settle(windows);
  ExpectWholeForm(main, window);
  main.txtMailFolder.SetText("\\\\Postfach Zo\xC3\xAB\\Inbox");
  main.cmdSearch.Click();
  ASSERT_GT(main.ListView1.RowCount(), 2);
  const RECT designed = ScreenRect(window);
  const LONG width = designed.right - designed.left, height = designed.bottom - designed.top;
  struct Step {
    const char* name;
    void (*apply)(HWND window, LONG width, LONG height);
  };
  const Step steps[] = {
      {"grown", [](HWND w, LONG cx, LONG cy) {
         SetWindowPos(w, nullptr, 0, 0, cx + cx / 2, cy + cy / 2, SWP_NOMOVE | SWP_NOZORDER);
       }},
      {"maximized", [](HWND w, LONG, LONG) { ShowWindow(w, SW_MAXIMIZE); }},
      {"restored", [](HWND w, LONG, LONG) { ShowWindow(w, SW_RESTORE); }},
      {"shrunk", [](HWND w, LONG cx, LONG cy) {
         SetWindowPos(w, nullptr, 0, 0, cx - cx / 4, cy - cy / 4, SWP_NOMOVE | SWP_NOZORDER);
       }},
  };
  for (const Step& step : steps) {
    step.apply(window, width, height);
    Settle(windows);
    const ScreenCapture screen;
    for (const CommandButton* button :
         {&main.cmdGetMailFolder, &main.cmdSearch, &main.cmdBrowse, &main.cmdSave})
      ExpectDrawn(screen, HandleOf(*button), std::string(step.name) + " " + button->Name());
    // The list: its rows, and its header up to the last column in view.
    HWND list = HandleOf(main.ListView1);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT shown = ScreenRect(header);
    RECT column{};
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int last = columns - 1; last >= 0; --last) {
      SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(last),
                   reinterpret_cast<LPARAM>(&column));
      MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&column), 2);
      if (column.left < shown.right) break;
    }
    column.right = std::min(column.right, shown.right);
    EXPECT_GT(screen.CountOtherThan(column, GetSysColor(COLOR_BTNFACE)), 0)
        << step.name << " last header column";
    RECT rows = ScreenRect(list);
    rows.top = shown.bottom;
    EXPECT_GT(screen.CountOtherThan(rows, GetSysColor(COLOR_WINDOW)), 0) << step.name << " rows";
  }
}

TEST_F(DrawnWindows, TheOtherWindowsOpenWholeAndTheOptionsBesideTheList) {
  ExpectDpiAsAsked();
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
  progress.Unload();
}

}  // namespace
}  // namespace qs::win32

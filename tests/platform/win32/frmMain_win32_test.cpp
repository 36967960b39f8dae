// The main window drawn by the Win32 layer: every control at its designed
// pixels, the menus and the list's headers, and the places after a resize.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "app/frmMain.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::ChildRect;
using testing::HandleOf;

// Left, top, width, height in twips; 15 twips are one pixel at 96 DPI.
struct Twips {
  int left, top, width, height;
};

RECT Pixels(const Twips& t) {
  return {t.left / 15, t.top / 15, (t.left + t.width) / 15, (t.top + t.height) / 15};
}

const std::map<std::string, Twips> kDesigned = {
    {"Label1", {120, 240, 4095, 255}},           {"txtMailFolder", {120, 480, 6375, 375}},
    {"cmdGetMailFolder", {6600, 480, 495, 375}}, {"cmdSearch", {7200, 480, 975, 375}},
    {"Label3", {120, 960, 2655, 375}},           {"ListView1", {120, 1200, 8055, 1695}},
    {"Label2", {120, 3000, 8055, 375}},          {"txtDir", {120, 3240, 6375, 375}},
    {"cmdBrowse", {6600, 3240, 495, 375}},       {"cmdSave", {7200, 3240, 975, 375}},
};

class MainWindowOnWin32 : public ::testing::Test {
 protected:
  MainWindowOnWin32() {
    app.SetMainForm(&main);
    main.Show();
    window = windows.WindowOf(main)->Handle();
  }

  void ExpectPlaces(const std::map<std::string, Twips>& places) const {
    for (const auto& [name, twips] : places) {
      const Control* control = main.Find(name);
      ASSERT_NE(control, nullptr) << name;
      EXPECT_EQ(ChildRect(HandleOf(*control)), Pixels(twips)) << name;
    }
  }

  static std::wstring Caption(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
  }

  Win32WindowSystem windows;
  Application app{windows};
  frmMain main{app};
  HWND window = nullptr;
};

TEST_F(MainWindowOnWin32, EveryControlSitsAtItsDesignedPixels) {
  ExpectPlaces(kDesigned);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 8310 / 15);
  EXPECT_EQ(client.bottom, 3750 / 15);
  EXPECT_EQ(testing::TextOf(window), L"Quillstow");
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(MainWindowOnWin32, TheMenusShowTheirCaptions) {
  HMENU bar = GetMenu(window);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(Caption(bar, 0), L"&File");
  EXPECT_EQ(Caption(bar, 1), L"&Options");
  EXPECT_EQ(Caption(bar, 2), L"&Help");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 2);
  EXPECT_EQ(Caption(file, 0), L"&Export to Text File");
  EXPECT_EQ(Caption(file, 1), L"E&xit");
  HMENU help = GetSubMenu(bar, 2);
  ASSERT_EQ(GetMenuItemCount(help), 6);
  EXPECT_EQ(Caption(help, 0), L"&Contents\tF1");
  EXPECT_TRUE(GetMenuState(help, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(help, 2), L"&FAQ");
  EXPECT_EQ(Caption(help, 3), L"&Support");
  EXPECT_TRUE(GetMenuState(help, 4, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(help, 5), L"&About");
}

TEST_F(MainWindowOnWin32, TheListHasTheEightColumnHeaders) {
  HWND list = HandleOf(main.ListView1);
  const wchar_t* expected[] = {L"Sent",     L"From",    L"Subject", L"To",
                               L"Received", L"EntryID", L"Folder",  L"LatestTime"};
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 8);
  for (int column = 0; column < 8; ++column) {
    wchar_t text[32] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                             reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, expected[column]);
  }
}

TEST_F(MainWindowOnWin32, EnlargingMovesAndStretchesTheAnchoredControls) {
  RECT before{};
  GetWindowRect(window, &before);
  SetWindowPos(window, nullptr, 0, 0, before.right - before.left + 40,
               before.bottom - before.top + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectPlaces({
      {"Label1", {120, 240, 4095, 255}},
      {"txtMailFolder", {120, 480, 6975, 375}},
      {"cmdGetMailFolder", {7200, 480, 495, 375}},
      {"cmdSearch", {7800, 480, 975, 375}},
      {"Label3", {120, 960, 2655, 375}},
      {"ListView1", {120, 1200, 8655, 1995}},
      {"Label2", {120, 3300, 8055, 375}},
      {"txtDir", {120, 3540, 6975, 375}},
      {"cmdBrowse", {7200, 3540, 495, 375}},
      {"cmdSave", {7800, 3540, 975, 375}},
  });
}

TEST_F(MainWindowOnWin32, ShrinkingBelowTheDesignedSizeKeepsTheDesignedPlaces) {
  const int width = main.Width(), height = main.Height();
  main.Resize(width + 600, height + 300);
  main.Resize(width - 1500, height - 750);
  ExpectPlaces(kDesigned);
  RECT now{};
  GetWindowRect(window, &now);
  EXPECT_EQ(now.right - now.left, (width - 1500) / 15);
}

}  // namespace
}  // namespace qs::win32

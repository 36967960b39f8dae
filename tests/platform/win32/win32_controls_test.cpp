// Each kind of control as a child window: what the program sets shows, what
// the user does comes back into the control.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/list_view.h"
#include "tests/platform/table_rows.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;
using testing::TextOf;

class Controls : public ::testing::Test {
 protected:
  HWND Load() {
    form.Show();
    return windows.WindowOf(form)->Handle();
  }

  Win32WindowSystem windows;
  Application app{windows};
  testing::CountingForm form{app, "frmTest", 8310, 3750};
};

// Typed into the window, back in the control: the program reads controls.
TEST_F(Controls, TextsPicksAndClicksComeBackIntoTheControls) {
  auto& box = form.Add<TextBox>("txtDir");
  box.Move(120, 3240, 6375, 375);
  int changes = 0;
  box.onChange = [&] { ++changes; };
  auto& combo = form.Add<ComboBox>("cboFnOutput");
  combo.Move(6480, 960, 855, 315);
  for (const char* item : {"MSG", "TXT", "DIR"}) combo.AddItem(item);
  combo.SetText("MSG");
  auto& check = form.Add<CheckBox>("UseDate");
  check.Move(120, 360, 255, 255);
  int clicks = 0;
  check.onClick = [&] { ++clicks; };
  Load();

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
  testing::Notify(list, CBN_SELCHANGE);
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

// The list is an owner-data view: it asks the program's rows for each text.
TEST_F(Controls, TheListViewShowsTheRowsOfItsModel) {
  auto& list = form.Add<ListView>("ListView1");
  list.Move(120, 1200, 8055, 1695);
  for (const char* header : {"Sent", "From", "Subject"}) list.AddColumn(header);
  Load();
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
  test::TableRows rows;
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
  EXPECT_EQ(cell(1, 1), L"");
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
  HWND window = Load();
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

}  // namespace
}  // namespace qs::win32

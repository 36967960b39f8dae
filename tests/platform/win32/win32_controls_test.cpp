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

using testing::CountingForm;
using testing::HandleOf;
using testing::TextOf;

class Controls : public ::testing::Test {
 protected:
  Controls() { form.SetFont({"Courier New", 8.25, Font::Family::Monospace}); }
  void Load() {
    form.Show();
    window = windows.WindowOf(form)->Handle();
  }

  Win32WindowSystem windows;
  Application app{windows};
  CountingForm form{app, "frmTest", "Test", 8310, 3750};
  HWND window = nullptr;
};

TEST_F(Controls, TextBoxShowsTheProgramsTextAndTakesTheUsers) {
  auto& box = form.Add<TextBox>("txtDir");
  box.Move(120, 3240, 6375, 375);
  box.SetText("C:\\Mail");
  int changes = 0;
  box.onChange = [&] { ++changes; };
  Load();
  HWND edit = HandleOf(box);
  EXPECT_EQ(TextOf(edit), L"C:\\Mail");

  box.SetText(
      "D:\\Gr\xC3\xBC\xC3\x9F"
      "e");
  EXPECT_EQ(TextOf(edit), L"D:\\Gr\u00FC\u00DFe");
  EXPECT_EQ(changes, 1);

  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"E:\\Typed"));
  EXPECT_EQ(box.Text(), "E:\\Typed");
  EXPECT_EQ(changes, 2);
  SendMessageW(edit, EM_SETSEL, 8, 8);
  SendMessageW(edit, WM_CHAR, L'\u00E9', 0);
  EXPECT_EQ(box.Text(), "E:\\Typed\xC3\xA9");
  EXPECT_EQ(TextOf(edit), L"E:\\Typed\u00E9");
}

TEST_F(Controls, ComboBoxHoldsItsItemsAndTakesPicksAndTyping) {
  auto& combo = form.Add<ComboBox>("cboFnOutput");
  combo.Move(6480, 960, 855, 315);
  for (const char* item : {"MSG", "TXT", "DIR"}) combo.AddItem(item);
  combo.SetText("MSG");
  Load();
  HWND handle = HandleOf(combo);
  EXPECT_EQ(SendMessageW(handle, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(TextOf(handle), L"MSG");

  SendMessageW(handle, CB_SETCURSEL, 2, 0);
  testing::Notify(handle, CBN_SELCHANGE);
  EXPECT_EQ(combo.Text(), "DIR");

  HWND edit = FindWindowExW(handle, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"rt"));
  SendMessageW(edit, EM_SETSEL, 2, 2);
  SendMessageW(edit, WM_CHAR, L'f', 0);
  EXPECT_EQ(combo.Text(), "rtf");

  // A new list keeps the text the control holds.
  combo.ClearItems();
  combo.AddItem("HTML");
  EXPECT_EQ(SendMessageW(handle, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(TextOf(handle), L"rtf");
}

TEST_F(Controls, CheckBoxClicksCycleThroughItsStates) {
  auto& box = form.Add<CheckBox>("UseDate");
  box.Move(120, 360, 255, 255);
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  Load();
  HWND button = HandleOf(box);

  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), CheckBox::Checked);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1);

  box.SetValue(CheckBox::Grayed);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), CheckBox::Unchecked);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 3);
}

TEST_F(Controls, ButtonClicksReachTheProgramOnlyWhileEnabled) {
  auto& button = form.Add<CommandButton>("cmdSearch", "Search");
  button.Move(7200, 480, 975, 375);
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  Load();
  HWND handle = HandleOf(button);
  EXPECT_EQ(TextOf(handle), L"Search");
  SendMessageW(handle, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(handle));
  button.SetCaption("Wait");
  EXPECT_EQ(TextOf(handle), L"Wait");
}

TEST_F(Controls, HidingOrDisablingAFrameTakesItsControlsAlong) {
  auto& frame = form.Add<Frame>("Frame4", "Select Email");
  frame.Move(4920, 1680, 2655, 1455);
  auto& since = form.Add<TextBox>("txtSince");
  since.Move(720, 360, 1815, 285);
  since.SetContainer(&frame);
  Load();
  HWND box = HandleOf(since);
  EXPECT_TRUE(IsWindowVisible(box));
  frame.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(HandleOf(frame)));
  EXPECT_FALSE(IsWindowVisible(box));
  frame.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(box));
  frame.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box));
  frame.SetEnabled(true);
  since.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(box));
}

TEST_F(Controls, ProgressBarFollowsRangeAndValue) {
  auto& bar = form.Add<ProgressBar>("ProgressBar1");
  bar.Move(120, 480, 5775, 255);
  Load();
  HWND handle = HandleOf(bar);
  bar.SetRange(0, 12);
  bar.SetValue(3);
  PBRANGE range{};
  SendMessageW(handle, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 12);
  EXPECT_EQ(SendMessageW(handle, PBM_GETPOS, 0, 0), 3);
}

TEST_F(Controls, LabelsUseTheirOwnFontAndTheListTheFormsFont) {
  auto& label = form.Add<Label>("Label1", "Mail Folder");
  label.Move(120, 240, 4095, 255);
  auto& list = form.Add<ListView>("ListView1");
  list.Move(120, 1200, 8055, 1695);
  Load();
  const auto face_of = [](HWND control) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    return std::pair<std::wstring, LONG>(font.lfFaceName, font.lfHeight);
  };
  EXPECT_EQ(face_of(HandleOf(label)), (std::pair<std::wstring, LONG>(L"MS Sans Serif", -11)));
  EXPECT_EQ(face_of(HandleOf(list)), (std::pair<std::wstring, LONG>(L"Courier New", -11)));
}

class ListViews : public Controls {
 protected:
  ListViews() {
    list.Move(120, 1200, 8055, 1695);
    for (const char* header : {"Sent", "From", "Subject"}) list.AddColumn(header);
  }
  std::wstring CellText(int item, int column) {
    wchar_t text[64] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 64;
    SendMessageW(HandleOf(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&cell));
    return text;
  }

  ListView& list = form.Add<ListView>("ListView1");
};

TEST_F(ListViews, ColumnsAreCreatedWithTheirHeadersLeftAligned) {
  Load();
  list.AddColumn("To");
  HWND handle = HandleOf(list);
  const wchar_t* expected[] = {L"Sent", L"From", L"Subject", L"To"};
  for (int column = 0; column < 4; ++column) {
    wchar_t text[32] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    info.pszText = text;
    info.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(handle, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                             reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, expected[column]);
    EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_EQ(info.cx, 96);
  }
  EXPECT_TRUE(GetWindowLongW(handle, GWL_STYLE) & LVS_REPORT);
}

TEST_F(ListViews, TheViewShowsTheRowsOfItsModel) {
  Load();
  HWND handle = HandleOf(list);
  test::TableRows rows;
  list.ShowRows(rows);
  for (int row = 1; row <= 3; ++row) {
    rows.rows.push_back({"2026-12-0" + std::to_string(row), "", "Subject " + std::to_string(row)});
    list.RowsChanged();
  }
  // Rows arriving in a burst reach the view once the message loop runs again.
  windows.ProcessPendingMessages();
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_EQ(SendMessageW(handle, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(CellText(0, 0), L"2026-12-01");
  EXPECT_EQ(CellText(2, 2), L"Subject 3");
  EXPECT_EQ(CellText(1, 1), L"");
  rows.rows[1][2] = "Changed \xE2\x82\xAC";
  EXPECT_EQ(CellText(1, 2), L"Changed \u20AC");
  rows.rows.clear();
  list.RowsChanged();
  windows.ProcessPendingMessages();
  EXPECT_EQ(SendMessageW(handle, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViews, ALongTextIsCutToTheViewsBuffer) {
  Load();
  test::TableRows rows;
  rows.rows = {{std::string(200, 'x')}};
  list.ShowRows(rows);
  windows.ProcessPendingMessages();
  EXPECT_EQ(CellText(0, 0), std::wstring(63, L'x'));
}

class Menus : public Controls {
 protected:
  Menus() {
    file = &form.Add<MenuItem>("mnuFile", "&File");
    exit = &form.Add<MenuItem>("mnuFileExit", "E&xit", file);
    options = &form.Add<MenuItem>("mnuOptions", "&Options");
    help = &form.Add<MenuItem>("mnuHelp", "&Help");
    contents = &form.Add<MenuItem>("mnuHelpContents", "&Contents", help, "F1");
    form.Add<MenuItem>("mnuHelp1", "-", help);
    about = &form.Add<MenuItem>("mnuHelpAbout", "&About", help);
  }
  static std::wstring Caption(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
  }

  MenuItem *file, *exit, *options, *help, *contents, *about;
};

TEST_F(Menus, TheMenuBarShowsCaptionsShortcutsAndSeparators) {
  Load();
  HMENU bar = GetMenu(window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(Caption(bar, 0), L"&File");
  EXPECT_EQ(Caption(bar, 1), L"&Options");
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
  EXPECT_EQ(Caption(bar, 2), L"&Help");
  HMENU help_menu = GetSubMenu(bar, 2);
  ASSERT_EQ(GetMenuItemCount(help_menu), 3);
  EXPECT_EQ(Caption(help_menu, 0), L"&Contents\tF1");
  EXPECT_TRUE(GetMenuState(help_menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(Caption(GetSubMenu(bar, 0), 0), L"E&xit");
}

TEST_F(Menus, ChoosingAnEntryOrItsShortcutClicksIt) {
  int abouts = 0, helps = 0, options_shown = 0;
  about->onClick = [&] { ++abouts; };
  contents->onClick = [&] { ++helps; };
  options->onClick = [&] { ++options_shown; };
  Load();
  HMENU bar = GetMenu(window);
  SendMessageW(window, WM_COMMAND, GetMenuItemID(GetSubMenu(bar, 2), 2), 0);
  SendMessageW(window, WM_COMMAND, GetMenuItemID(bar, 1), 0);
  EXPECT_EQ(abouts, 1);
  EXPECT_EQ(options_shown, 1);

  PostMessageW(window, WM_KEYDOWN, VK_F1, 0);
  windows.ProcessPendingMessages();
  EXPECT_EQ(helps, 1);
}

TEST_F(Menus, ChangedEntriesRebuildTheMenu) {
  Load();
  about->SetEnabled(false);
  about->SetCaption("&About Quillstow");
  exit->SetVisible(false);
  HMENU bar = GetMenu(window);
  HMENU help_menu = GetSubMenu(bar, 2);
  EXPECT_EQ(Caption(help_menu, 2), L"&About Quillstow");
  EXPECT_TRUE(GetMenuState(help_menu, 2, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 0);

  int abouts = 0;
  about->onClick = [&] { ++abouts; };
  SendMessageW(window, WM_COMMAND, GetMenuItemID(help_menu, 2), 0);
  EXPECT_EQ(abouts, 0);
}

}  // namespace
}  // namespace qs::win32

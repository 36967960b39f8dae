// The options dialog drawn by the Win32 layer: its client area, every frame
// and control at its designed pixels, the combo lists, the default button,
// and the frame's close box acting as Cancel.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "settings/frmOptions.h"
#include "tests/platform/win32/win32_test_support.h"
#include "tests/common/scratch_dir.h"

namespace qs::win32 {
namespace {

using testing::ChildRect;
using testing::HandleOf;

// The control's rectangle on the window in twips, its frame's place added.
RECT Pixels(const Control& control) {
  int left = control.Left(), top = control.Top();
  if (const Frame* frame = control.Container()) left += frame->Left(), top += frame->Top();
  return {left / 15, top / 15, (left + control.Width()) / 15, (top + control.Height()) / 15};
}

class OptionsOnWin32 : public ::testing::Test {
 protected:
  OptionsOnWin32() {
    app.SetTitle("Quillstow");
    form.Show();
    window = windows.WindowOf(form)->Handle();
  }
  ~OptionsOnWin32() override { form.UnloadForExit(); }

  Win32WindowSystem windows;
  Application app{windows};
  frmOptions form{app};
  HWND window = nullptr;
};

TEST_F(OptionsOnWin32, TheWindowHasItsDesignedClientAreaAndCaption) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 7665 / 15);
  EXPECT_EQ(client.bottom, 4170 / 15);
  EXPECT_EQ(testing::TextOf(window), L"Options");
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(OptionsOnWin32, EveryFrameAndControlCoversAtLeastItsDesignedPixels) {
  int checked = 0;
  for (const auto& control : form.Controls()) {
    HWND handle = HandleOf(*control);
    ASSERT_NE(handle, nullptr) << control->Name();
    // Windows draws a frame's group box on the form, so all rectangles share it.
    ASSERT_EQ(GetParent(handle), window) << control->Name();
    RECT expected = Pixels(*control);
    const RECT actual = ChildRect(handle);
    // A combo box's height is the system's, set by its font.
    if (dynamic_cast<const ComboBox*>(control.get())) expected.bottom = actual.bottom;
    // A caption that needs more room than designed takes it around its place.
    RECT both{};
    UnionRect(&both, &expected, &actual);
    EXPECT_EQ(both, actual) << control->Name();
    EXPECT_TRUE(IsWindowVisible(handle)) << control->Name();
    ++checked;
  }
  EXPECT_EQ(checked, 28);
  EXPECT_EQ(testing::TextOf(HandleOf(form.Frame3)), L"Saved Mail Filename");
  EXPECT_EQ(testing::TextOf(HandleOf(form.lblClipAddress)), L"Clip Addresses to");
  EXPECT_EQ(testing::TextOf(HandleOf(form.ckFnSubject)), L"Subject");
  // The label widened to its left: it still ends where its combo box starts.
  EXPECT_EQ(ChildRect(HandleOf(form.lblClipAddress)).right, Pixels(form.lblClipAddress).right);
  EXPECT_EQ(testing::TextOf(HandleOf(form.cmdCancel)), L"Cancel");
}

TEST_F(OptionsOnWin32, ComboBoxesOfferTheirListsAndTheOutputFormatShowsMSG) {
  HWND output = HandleOf(form.cboFnOutput);
  EXPECT_EQ(SendMessageW(output, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(testing::TextOf(output), L"MSG");
  EXPECT_EQ(SendMessageW(HandleOf(form.ClipAddress), CB_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(SendMessageW(HandleOf(form.ClipSubject), CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(HandleOf(form.DateFormat), CB_GETCOUNT, 0, 0), 4);
}

TEST_F(OptionsOnWin32, OKIsTheDefaultButton) {
  EXPECT_TRUE(GetWindowLongW(HandleOf(form.cmdOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_FALSE(GetWindowLongW(HandleOf(form.cmdCancel), GWL_STYLE) & BS_DEFPUSHBUTTON);
}

TEST_F(OptionsOnWin32, AClickOnACheckBoxsCaptionTogglesIt) {
  HWND box = HandleOf(form.UseSubject);
  RECT client{};
  GetClientRect(box, &client);
  // Halfway along, on the word "Subject" rather than the box.
  const LPARAM on_word = MAKELPARAM(client.right / 2, client.bottom / 2);
  ASSERT_EQ(form.UseSubject.Value(), CheckBox::Unchecked);
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, on_word);
  SendMessageW(box, WM_LBUTTONUP, 0, on_word);
  EXPECT_EQ(form.UseSubject.Value(), CheckBox::Checked);
  EXPECT_EQ(form.TextFormat.Text(), "%3");
}

TEST_F(OptionsOnWin32, OnlyTheButtonWithTheKeyboardOrElseOKLooksLikeTheDefault) {
  const auto looks_default = [](const CommandButton& button) {
    return (GetWindowLongW(HandleOf(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  };
  const auto press_tab = [this] {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(focus, WM_KEYUP, VK_TAB, 0);
    windows.ProcessPendingMessages();
  };
  SetFocus(HandleOf(form.txtBefore));
  press_tab();  // the date format
  press_tab();
  ASSERT_EQ(GetFocus(), HandleOf(form.cmdOK));
  EXPECT_TRUE(looks_default(form.cmdOK));
  press_tab();
  ASSERT_EQ(GetFocus(), HandleOf(form.cmdCancel));
  EXPECT_TRUE(looks_default(form.cmdCancel));
  EXPECT_FALSE(looks_default(form.cmdOK));
  press_tab();  // round to the first check box
  ASSERT_EQ(GetFocus(), HandleOf(form.ckFnDate));
  EXPECT_FALSE(looks_default(form.cmdCancel));
  EXPECT_TRUE(looks_default(form.cmdOK));
}

TEST_F(OptionsOnWin32, TheCloseBoxHidesTheDialogAndReadsTheFileBack) {
  test::ScratchDir dir;
  std::ofstream(dir.Path() / "opts.ini") << "[Options]\nClipSubject=70\n";
  form.UseCustomINI(dir.File("opts.ini"));
  form.ClipSubject.SetText("20");
  SendMessageW(window, WM_CLOSE, 0, 0);
  windows.ProcessPendingMessages();
  EXPECT_TRUE(form.Loaded());
  EXPECT_FALSE(form.Shown());
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(form.ClipSubject.Text(), "70");
}

}  // namespace
}  // namespace qs::win32

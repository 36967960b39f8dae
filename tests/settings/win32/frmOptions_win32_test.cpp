// The options dialog's keys on the Win32 layer: Tab walks the dialog in its
// designed order, the button with the keyboard looks like the default one
// (else OK), Enter presses it and Escape presses Cancel.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "settings/frmOptions.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;

class OptionsOnWin32 : public ::testing::Test {
 protected:
  OptionsOnWin32() {
    form.UseCustomINI(dir.File("opts.ini"));
    form.Show();
  }
  ~OptionsOnWin32() override { form.UnloadForExit(); }

  void Press(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0);
    windows.ProcessPendingMessages();
  }
  static bool LooksDefault(const CommandButton& button) {
    return (GetWindowLongW(HandleOf(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  }

  test::ScratchDir dir;
  Win32WindowSystem windows;
  Application app{windows};
  frmOptions form{app};
};

TEST_F(OptionsOnWin32, TabWalksTheDialogAndTheDefaultLookFollowsTheKeyboard) {
  SetFocus(HandleOf(form.txtBefore));
  Press(VK_TAB);  // the date format
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), HandleOf(form.cmdOK));
  EXPECT_TRUE(LooksDefault(form.cmdOK));
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), HandleOf(form.cmdCancel));
  EXPECT_TRUE(LooksDefault(form.cmdCancel));
  EXPECT_FALSE(LooksDefault(form.cmdOK));
  Press(VK_TAB);  // round to the first check box
  ASSERT_EQ(GetFocus(), HandleOf(form.ckFnDate));
  EXPECT_FALSE(LooksDefault(form.cmdCancel));
  EXPECT_TRUE(LooksDefault(form.cmdOK));
}

TEST_F(OptionsOnWin32, EnterPressesOKAndEscapeCancel) {
  SetFocus(HandleOf(form.txtFn));
  Press(VK_ESCAPE);
  EXPECT_FALSE(form.Shown());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "opts.ini"));
  form.Show();
  SetFocus(HandleOf(form.txtFn));
  Press(VK_RETURN);
  EXPECT_FALSE(form.Shown());
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "opts.ini")) << "OK wrote nothing";
}

}  // namespace
}  // namespace qs::win32

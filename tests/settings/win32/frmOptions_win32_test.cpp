// The options dialog's keys: Tab walks it in its designed order, the button
// with the keyboard looks like the default one, Escape and Enter press them.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "settings/frmOptions.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

using testing::HandleOf;

bool LooksDefault(const CommandButton& button) {
  return (GetWindowLongW(HandleOf(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

TEST(OptionsOnWin32, TheKeysWalkTheDialogAndPressItsButtons) {
  test::ScratchDir dir;
  Win32WindowSystem windows;
  Application app{windows};
  frmOptions form{app};
  form.UseCustomINI(dir.File("opts.ini"));
  form.Show();
  const auto press = [&](WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    windows.ProcessPendingMessages();
  };
  SetFocus(HandleOf(form.DateFormat));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), HandleOf(form.cmdOK));
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), HandleOf(form.cmdCancel));
  EXPECT_TRUE(LooksDefault(form.cmdCancel) && !LooksDefault(form.cmdOK));
  press(VK_TAB);  // round to the first check box
  EXPECT_EQ(GetFocus(), HandleOf(form.ckFnDate));
  EXPECT_TRUE(LooksDefault(form.cmdOK) && !LooksDefault(form.cmdCancel));
  press(VK_ESCAPE);
  EXPECT_FALSE(form.Shown());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "opts.ini"));
  form.Show();
  press(VK_RETURN);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "opts.ini")) << "Enter did not press OK";
  form.UnloadForExit();
}

}  // namespace
}  // namespace qs::win32

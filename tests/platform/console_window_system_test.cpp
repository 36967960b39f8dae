#include "platform/console/console_window_system.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/form.h"
#include "tests/common/console_session.h"

namespace qs {
namespace {

struct Boxes : Form {
  Boxes(Application& app, std::string name) : Form(app, std::move(name), "Boxes", 1000, 1000) {}
  TextBox& text = Add<TextBox>("txtName");
  CheckBox& check = Add<CheckBox>("ckFlag");
  CommandButton& button = Add<CommandButton>("cmdGo", "Go");
  Label& label = Add<Label>("lblInfo", "info");
};

// Lines set and click controls of the form loaded or shown last; bad lines
// are reported and change nothing; the end of input closes the main window.
TEST(Console, LinesDriveTheFormShownLast) {
  testing::ConsoleSession session("cmdGo\ntxtName=after\n");
  Boxes main(session.app, "main"), other(session.app, "other");
  session.app.SetMainForm(&main);
  main.Show();
  other.Load();
  int clicks = 0, check_clicks = 0;
  other.button.onClick = [&] { ++clicks; };
  other.check.onClick = [&] { ++check_clicks; };
  for (const char* line : {"txtName=a=b c", "ckFlag=2", "cmdGo", "ckFlag", "nothing", "ckFlag=yes",
                           "lblInfo", "lblInfo=new"})
    session.windows.Execute(session.app, line);
  EXPECT_EQ(main.text.Text() + "|" + other.text.Text() + "|" + other.label.Caption(), "|a=b c|info");
  EXPECT_EQ(other.check.Value(), 0) << "a click on a grayed box unchecks it";
  EXPECT_EQ(std::pair(clicks, check_clicks), std::pair(1, 2));
  other.button.SetEnabled(false);
  session.windows.Execute(session.app, "cmdGo");
  other.button.SetEnabled(true);
  other.button.onClick = [] { throw std::runtime_error("handler broke"); };
  session.windows.Execute(session.app, "cmdGo");
  session.windows.QueueAnswer(Answer::Retry);  // a queued answer comes before the default
  EXPECT_EQ(session.app.MsgBox("m", Buttons::AbortRetryIgnore), Answer::Retry);
  for (const char* error : {"no such control: nothing", "lblInfo cannot be clicked", "cmdGo is disabled",
                            "error in a window event: handler broke"})
    EXPECT_NE(session.err.str().find(error), std::string::npos) << error;
  other.button.onClick = [&] { other.Hide(); };
  other.Show(true, &main);  // modal: returns when hidden
  session.windows.Run(session.app, main);
  EXPECT_EQ(other.text.Text(), "after") << "the hidden modal form was shown last";
  EXPECT_FALSE(main.Loaded());
}

}  // namespace
}  // namespace qs

#include "platform/console/console_window_system.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/form.h"
#include "platform/list_view.h"
#include "tests/common/console_session.h"
#include "tests/platform/table_rows.h"

namespace qs {
namespace {

struct Boxes : Form {
  Boxes(Application& app, std::string name) : Form(app, std::move(name), "Boxes", 1000, 1000) {}
  TextBox& text = Add<TextBox>("txtName");
  CheckBox& check = Add<CheckBox>("ckFlag");
  ComboBox& combo = Add<ComboBox>("cboKind");
  CommandButton& button = Add<CommandButton>("cmdGo", "Go");
  Label& label = Add<Label>("lblInfo", "info");
  ListView& list = Add<ListView>("List");
};

class Console : public ::testing::Test {
 protected:
  Console() {
    app.SetTitle("Title");
    app.SetMainForm(&main);
  }
  void Run(std::initializer_list<const char*> lines) {
    for (const char* line : lines) session.windows.Execute(app, line);
  }
  testing::ConsoleSession session;
  Application& app = session.app;
  Boxes main{app, "main"}, other{app, "other"};
};

// A box prints its title and text and takes a queued answer, else the
// default; an input box prints its prompt and reads one line.
TEST_F(Console, BoxesPrintAndAnswer) {
  session.windows.QueueAnswer(Answer::Retry);
  EXPECT_EQ(app.MsgBox("line one\r\nline two", Buttons::AbortRetryIgnore), Answer::Retry);
  EXPECT_EQ(app.MsgBox("second", Buttons::YesNoCancel, Icon::Question, 2), Answer::Cancel);
  session.in.str("first answer\r\n");
  EXPECT_EQ(app.InputBox("Enter it", "T"), "first answer");
  EXPECT_EQ(app.InputBox("Again", "T"), std::nullopt) << "end of input cancels";
  EXPECT_EQ(session.out.str(), "Title: line one\nline two\nTitle: second\nEnter it\nAgain\n");
}

// Lines set and click controls; bad ones are reported and change nothing.
TEST_F(Console, LinesSetAndClickControls) {
  main.Load();
  int clicks = 0, check_clicks = 0;
  main.button.onClick = [&] { ++clicks; };
  main.check.onClick = [&] { ++check_clicks; };
  Run({"txtName=a=b c", "cboKind=typed", "ckFlag=2", "cmdGo", "ckFlag", "nothing", "ckFlag=yes", "lblInfo=new"});
  EXPECT_EQ(main.text.Text() + "|" + main.combo.Text() + "|" + main.label.Caption(), "a=b c|typed|info");
  EXPECT_EQ(main.check.Value(), 0) << "a click on a grayed box unchecks it";
  EXPECT_EQ(check_clicks, 2);
  main.button.SetEnabled(false);
  Run({"cmdGo"});
  EXPECT_EQ(clicks, 1);
  main.button.SetEnabled(true);
  main.button.onClick = [] { throw std::runtime_error("handler broke"); };
  Run({"cmdGo"});
  for (const char* error : {"no such control: nothing", "cmdGo is disabled", "error in a window event: handler broke"})
    EXPECT_NE(session.err.str().find(error), std::string::npos) << error;
}

// A name on several forms means the one shown last (a loaded, never shown
// form ranks below shown ones); print lists the shown forms, then the main
// list; a modal form returns when hidden, and the end of input closes the
// main window.
TEST_F(Console, FormsShownLastTakeTheLines) {
  main.Show();
  other.Load();
  Run({"txtName=hidden one"});
  EXPECT_EQ(main.text.Text() + "|" + other.text.Text(), "|hidden one");
  main.check.SetValue(1);
  for (const char* header : {"A", "B", "C"}) main.list.AddColumn(header);
  test::TableRows rows;
  rows.rows = {{"r1", "", "line\nbreak"}};
  main.list.ShowRows(rows);
  Run({"print"});
  EXPECT_EQ(session.out.str(), "txtName=\nckFlag=1\ncboKind=\nr1\t\tline break\n");
  session.in.str("cmdGo\ntxtName=after\n");
  other.button.onClick = [&] { other.Hide(); };
  other.Show(true, &main);
  EXPECT_FALSE(other.Shown());
  session.windows.Run(app, main);
  EXPECT_EQ(other.text.Text(), "after") << "the hidden modal form was shown last";
  EXPECT_FALSE(main.Loaded());
}

}  // namespace
}  // namespace qs

#include "platform/console/console_window_system.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/form.h"
#include "platform/list_view.h"
#include "tests/common/console_session.h"
#include "tests/platform/table_rows.h"

namespace qs {
namespace {

class Boxes : public Form {
 public:
  Boxes(Application& app, std::string name)
      : Form(app, std::move(name), "Boxes", 1000, 1000),
        text(Add<TextBox>("txtName")),
        check(Add<CheckBox>("ckFlag")),
        combo(Add<ComboBox>("cboKind")),
        button(Add<CommandButton>("cmdGo", "Go")),
        label(Add<Label>("lblInfo", "info")),
        list(Add<ListView>("List")) {}
  TextBox& text;
  CheckBox& check;
  ComboBox& combo;
  CommandButton& button;
  Label& label;
  ListView& list;
};

class Console : public ::testing::Test {
 protected:
  Console() {
    app.SetTitle("Title");
    app.SetMainForm(&main);
  }
  void Run(const char* line) { session.windows.Execute(app, line); }
  testing::ConsoleSession session;
  Application& app = session.app;
  Boxes main{app, "main"}, other{app, "other"};
};

// A box prints its title and text and takes queued answers first, then the
// default one; an input box prints its prompt and reads one line.
TEST_F(Console, BoxesPrintAndAnswer) {
  session.windows.QueueAnswer(Answer::Retry);
  EXPECT_EQ(app.MsgBox("line one\r\nline two", Buttons::AbortRetryIgnore), Answer::Retry);
  EXPECT_EQ(app.MsgBox("second", Buttons::YesNoCancel, Icon::Question, 2), Answer::Cancel);
  EXPECT_FALSE(app.FailureShown());
  app.ReportFailure("broken");
  EXPECT_TRUE(app.FailureShown());
  session.in.str("first answer\r\n");
  EXPECT_EQ(app.InputBox("Enter it", "T"), "first answer");
  EXPECT_EQ(app.InputBox("Again", "T"), std::nullopt) << "end of input cancels";
  EXPECT_EQ(session.out.str(), "Title: line one\nline two\nTitle: second\nTitle: broken\nEnter it\nAgain\n");
  EXPECT_EQ(session.windows.BoxesShown()[1].icon, Icon::Question);
}

TEST_F(Console, LinesSetAndClickControlsAndBadOnesChangeNothing) {
  main.Load();
  int clicks = 0, check_clicks = 0;
  main.button.onClick = [&] { ++clicks; };
  main.check.onClick = [&] { ++check_clicks; };
  for (const char* line : {"txtName=a=b c", "cboKind=typed", "ckFlag=2", "cmdGo", "ckFlag", "nothing",
                           "ckFlag=yes", "lblInfo", "lblInfo=new"})
    Run(line);
  EXPECT_EQ(main.text.Text(), "a=b c") << "only the first = separates";
  EXPECT_EQ(main.combo.Text(), "typed");
  EXPECT_EQ(main.check.Value(), 0) << "a click on a grayed box unchecks it";
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(check_clicks, 2);
  EXPECT_EQ(main.label.Caption(), "info");
  main.button.SetEnabled(false);
  Run("cmdGo");
  EXPECT_EQ(clicks, 1);
  main.button.SetEnabled(true);
  main.button.onClick = [] { throw std::runtime_error("handler broke"); };
  Run("cmdGo");
  for (const char* error : {"no such control: nothing", "cmdGo is disabled", "error in a window event: handler broke"})
    EXPECT_NE(session.err.str().find(error), std::string::npos) << error;
}

TEST_F(Console, ANameOnSeveralFormsMeansTheOneShownLast) {
  main.Show();
  other.Load();  // loaded and hidden still counts
  Run("txtName=hidden one");
  EXPECT_EQ(main.text.Text(), "") << "a never-shown form ranks below shown ones";
  EXPECT_EQ(other.text.Text(), "hidden one");
  other.Show();
  other.Hide();
  main.Show();
  Run("txtName=main again");
  EXPECT_EQ(main.text.Text(), "main again");
}

TEST_F(Console, PrintListsShownFormsThenTheMainList) {
  main.Show();
  other.Load();
  main.text.SetText("tab\there");
  main.check.SetValue(1);
  main.combo.SetText("c");
  for (const char* header : {"A", "B", "C"}) main.list.AddColumn(header);
  test::TableRows rows;
  rows.rows = {{"r1", "", "line\nbreak"}};
  main.list.ShowRows(rows);
  other.text.SetText("not shown");
  Run("print");
  EXPECT_EQ(session.out.str(), "txtName=tab here\nckFlag=1\ncboKind=c\nr1\t\tline break\n");
}

// A modal form returns when hidden; the end of input closes the main window.
TEST_F(Console, RunReadsLinesUntilTheEndOfInput) {
  session.in.str("cmdGo\ntxtName=after\n");
  main.Show();
  other.button.onClick = [&] { other.Hide(); };
  other.Show(true, &main);
  EXPECT_FALSE(other.Shown());
  EXPECT_TRUE(other.Loaded());
  session.windows.Run(app, main);
  EXPECT_EQ(other.text.Text(), "after") << "the hidden modal form was shown last";
  EXPECT_FALSE(main.Loaded());
}

}  // namespace
}  // namespace qs

#include "platform/console/console_window_system.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/list_view.h"
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
  Console() : windows(in, out, err), app(windows), main(app, "main"), other(app, "other") {
    app.SetTitle("Title");
    app.SetMainForm(&main);
  }
  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem windows;
  Application app;
  Boxes main, other;
};

TEST_F(Console, MessageBoxPrintsTitleAndTextAndTakesTheDefault) {
  EXPECT_EQ(app.MsgBox("line one\r\nline two", Buttons::AbortRetryIgnore), Answer::Abort);
  EXPECT_EQ(app.MsgBox("second", Buttons::YesNoCancel, Icon::Question, 2), Answer::Cancel);
  EXPECT_EQ(out.str(), "Title: line one\nline two\nTitle: second\n");
  ASSERT_EQ(windows.BoxesShown().size(), 2u);
  EXPECT_EQ(windows.BoxesShown()[0].text, "line one\r\nline two");
  EXPECT_EQ(windows.BoxesShown()[1].icon, Icon::Question);
}

TEST_F(Console, QueuedAnswersComeFirst) {
  windows.QueueAnswer(Answer::Retry);
  EXPECT_EQ(app.MsgBox("a", Buttons::AbortRetryIgnore), Answer::Retry);
  EXPECT_EQ(app.MsgBox("b", Buttons::AbortRetryIgnore), Answer::Abort);
}

TEST_F(Console, FailureMessagesAreRemembered) {
  app.MsgBox("plain");
  EXPECT_FALSE(app.FailureShown());
  app.ReportFailure("broken");
  EXPECT_TRUE(app.FailureShown());
}

TEST_F(Console, InputBoxPrintsItsPromptAndReadsOneLine) {
  in.str("first answer\r\n");
  EXPECT_EQ(app.InputBox("Enter it", "T"), "first answer");
  EXPECT_EQ(app.InputBox("Again", "T"), std::nullopt) << "end of input cancels";
  EXPECT_EQ(out.str(), "Enter it\nAgain\n");
}

TEST_F(Console, LinesSetAndClickControls) {
  main.Load();
  int clicks = 0;
  main.button.onClick = [&] { ++clicks; };
  int check_clicks = 0;
  main.check.onClick = [&] { ++check_clicks; };
  windows.Execute(app, "txtName=a=b c");
  windows.Execute(app, "cboKind=typed");
  windows.Execute(app, "ckFlag=2");
  windows.Execute(app, "cmdGo");
  EXPECT_EQ(main.text.Text(), "a=b c") << "only the first = separates";
  EXPECT_EQ(main.combo.Text(), "typed");
  EXPECT_EQ(main.check.Value(), 2);
  EXPECT_EQ(clicks, 1);
  windows.Execute(app, "ckFlag");
  EXPECT_EQ(main.check.Value(), 0) << "a click on a grayed box unchecks it";
  windows.Execute(app, "ckFlag");
  EXPECT_EQ(main.check.Value(), 1);
  EXPECT_EQ(check_clicks, 3);
}

TEST_F(Console, BadLinesAreReportedAndChangeNothing) {
  main.Load();
  windows.Execute(app, "nothing");
  windows.Execute(app, "ckFlag=yes");
  windows.Execute(app, "lblInfo");
  windows.Execute(app, "lblInfo=new");
  main.button.SetEnabled(false);
  bool clicked = false;
  main.button.onClick = [&] { clicked = true; };
  windows.Execute(app, "cmdGo");
  EXPECT_EQ(main.check.Value(), 0);
  EXPECT_EQ(main.label.Caption(), "info");
  EXPECT_FALSE(clicked);
  EXPECT_NE(err.str().find("no such control: nothing"), std::string::npos);
  EXPECT_NE(err.str().find("cmdGo is disabled"), std::string::npos);
  main.button.SetEnabled(true);
  main.button.onClick = [] { throw std::runtime_error("handler broke"); };
  windows.Execute(app, "cmdGo");
  EXPECT_NE(err.str().find("error in a window event: handler broke"), std::string::npos);
}

TEST_F(Console, ANameOnSeveralFormsMeansTheOneShownLast) {
  main.Show();
  other.Load();  // loaded and hidden still counts
  windows.Execute(app, "txtName=hidden one");
  EXPECT_EQ(main.text.Text(), "") << "a never-shown form ranks below shown ones";
  EXPECT_EQ(other.text.Text(), "hidden one");
  other.Show();
  other.Hide();
  main.Show();
  windows.Execute(app, "txtName=main again");
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
  windows.Execute(app, "print");
  EXPECT_EQ(out.str(), "txtName=tab here\nckFlag=1\ncboKind=c\nr1\t\tline break\n");
}

TEST_F(Console, EndOfInputClosesTheMainWindow) {
  in.str("txtName=x\n");
  main.Show();
  windows.Run(app, main);
  EXPECT_FALSE(main.Loaded());
  EXPECT_EQ(main.text.Text(), "x");
}

TEST_F(Console, ModalFormReturnsWhenHidden) {
  in.str("cmdGo\ntxtName=after\n");
  main.Show();
  other.button.onClick = [&] { other.Hide(); };
  other.Show(true, &main);
  EXPECT_FALSE(other.Shown());
  EXPECT_TRUE(other.Loaded());
  windows.Run(app, main);
  EXPECT_EQ(other.text.Text(), "after") << "the hidden modal form was shown last";
  EXPECT_FALSE(main.Loaded());
}

}  // namespace
}  // namespace qs

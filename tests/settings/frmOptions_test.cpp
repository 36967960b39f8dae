#include "settings/frmOptions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/settings_file.h"
#include "tests/common/console_session.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using List = std::vector<std::string>;

class OptionsDialog : public ::testing::Test {
 protected:
  OptionsDialog() { form.Load(); }

  // Binds the dialog to a file of the scratch directory holding text and loads it.
  void UseFile(const std::string& text) {
    dir.Write("opts.ini", text);
    form.UseCustomINI(file);
  }
  // The file's Options lines as the profile functions read them.
  List Lines() {
    clsINI ini(session.app);
    ini.SetFileName(file);
    List lines;
    ini.GetSection("Options", lines);
    return lines;
  }
  // Every option the dialog shows, in its order.
  std::string State() const {
    std::string state;
    for (const CheckBox* box : {&form.ckFnDate, &form.ckFnFrom, &form.ckFnSubject, &form.ckFnFolder,
                                &form.UseDate, &form.UseFrom, &form.UseSubject})
      state += std::to_string(box->Value());
    for (const EditableControl* text : std::initializer_list<const EditableControl*>{
             &form.txtFn, &form.ClipAddress, &form.ClipSubject, &form.cboFnOutput,
             &form.TextFormat, &form.txtSince, &form.txtBefore, &form.DateFormat})
      state += "|" + text->Text();
    return state;
  }
  void Run(const char* line) { session.windows.Execute(session.app, line); }

  testing::ConsoleSession session;
  test::ScratchDir dir;
  std::string file = dir.File("opts.ini");
  frmOptions form{session.app};
};

TEST_F(OptionsDialog, LoadingBindsTheDefaultFileAndAFirstStartWritesNothing) {
  EXPECT_EQ(form.SettingsFile(), DefaultSettingsFile("Quillstow.ini"));
  EXPECT_EQ(State(), "0000000||||MSG||||") << "the default file is not read on loading";
  form.UseCustomINI(file);
  EXPECT_EQ(State(), "1110111|%1 %2 %3|50|50|MSG|%1 %2 %3|||yymmdd HHMMSS");
  form.UseCustomINI(dir.File("missing/opts.ini"));
  EXPECT_EQ(State(), "1110111|%1 %2 %3|50|50|MSG|%1 %2 %3|||yymmdd HHMMSS");
  EXPECT_TRUE(dir.Tree().empty());
  EXPECT_TRUE(session.windows.BoxesShown().empty());
}

TEST_F(OptionsDialog, OKHidesAndWritesAllFifteenKeysInOrder) {
  form.UseCustomINI(file);
  form.Show();
  Run("ckFnFolder");
  Run("txtSince=01/02/2024");
  Run("TextFormat=%3 - %1 ");
  Run("cboFnOutput=rtf");
  Run("cmdOK");
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(Lines(), (List{"UseDate=1", "UseFrom=1", "UseSubject=1", "UseFnDate=1", "UseFnFrom=1",
                           "UseFnSubject=1", "UseFnFolder=1", "DateFormat=yymmdd HHMMSS",
                           "TextFormat=\"%3 - %1 \"", "FnFormat=%1 %2 %3", "Since=01/02/2024",
                           "Before=", "ClipAddress=50", "ClipSubject=50", "FnOutput=rtf", ""}));
  EXPECT_TRUE(session.windows.BoxesShown().empty());
}

TEST_F(OptionsDialog, CancelHidesAndReadsTheFileBackAsEditedByHand) {
  UseFile("[Options]\r\nSince=2020-01-01\r\n");
  form.Show();
  Run("txtSince=2030-12-31");
  Run("UseDate");
  EXPECT_EQ(form.txtSince.Text(), "2030-12-31");  // in force before any OK
  dir.Write("opts.ini", "[Options]\r\nSince=2020-01-01\r\nFnOutput=DIR\r\nUseFnFolder=1\r\n");
  Run("cmdCancel");
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(State(), "1111111|%1 %2 %3|50|50|DIR|%1 %2 %3|2020-01-01||yymmdd HHMMSS");
}

TEST_F(OptionsDialog, EmptiedTextsComeBackAsDefaultsButDateBoundsStayEmpty) {
  UseFile("[Options]\r\nSince=2020-01-01\r\n");
  Run("ckFnDate");
  Run("ckFnFrom");
  Run("ckFnSubject");
  EXPECT_EQ(form.txtFn.Text(), "");
  form.DateFormat.SetText("");
  form.txtSince.SetText("");
  form.TextFormat.SetText("%1 %2 ");  // blanks at the end survive only here, quoted
  Run("cmdOK");
  Run("cmdCancel");
  EXPECT_EQ(State(), "0000111|%1 %2 %3|50|50|MSG|%1 %2 |||yymmdd HHMMSS");
  form.txtFn.SetText("%1 %2 ");
  Run("cmdOK");
  Run("cmdCancel");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
}

TEST_F(OptionsDialog, StoredCheckValuesAreReadByTheirKeysRules) {
  UseFile(
      "[Options]\r\nUseDate=1abc\r\nUseFnDate=abc\r\nUseFnFolder=2\r\nUseFrom= 0 \r\n"
      "UseSubject=abc\r\nUseFnFrom=7\r\nUseFnSubject=1x\r\n");
  // Not numbers, or no check state: the key's default.
  EXPECT_EQ(State().substr(0, 7), "0112101");
}

TEST_F(OptionsDialog, StoredFormatsWinOverTheirCheckBoxesUntilOneIsClicked) {
  UseFile("[Options]\r\nTextFormat=\"%2\"\r\nUseDate=1\r\nFnFormat=%3\r\nUseFnFrom=0\r\n");
  EXPECT_EQ(form.TextFormat.Text(), "%2");
  EXPECT_EQ(form.txtFn.Text(), "%3");
  Run("UseFrom");
  EXPECT_EQ(form.TextFormat.Text(), "%1 %3");
  Run("ckFnFrom");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2 %3");
}

TEST_F(OptionsDialog, FormatRebuildsComposeTheCheckedPlaceholders) {
  form.UseCustomINI(file);
  form.TextFormat.SetText("custom");
  const std::pair<const char*, const char*> clicks[] = {
      {"UseDate", "%2 %3"}, {"UseSubject", "%2"}, {"UseFrom", ""}, {"UseSubject=2", "%3"}};
  for (const auto& [click, format] : clicks) {
    Run(click);
    EXPECT_EQ(form.TextFormat.Text(), format) << click << ": greyed counts as checked";
  }
  Run("ckFnSubject");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
  Run("ckFnFolder");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
}

TEST_F(OptionsDialog, OKThatCannotWriteSaysSoOnceAndKeepsTheNewValues) {
  const std::string unwritable = dir.Unwritable("opts.ini");
  form.UseCustomINI(unwritable);
  form.Show();
  Run("ClipAddress=30");
  Run("cmdOK");
  ASSERT_EQ(session.Messages().size(), 1u);
  EXPECT_NE(session.Messages()[0].find(unwritable), std::string::npos) << session.Messages()[0];
  EXPECT_EQ(form.ClipAddress.Text(), "30");
  Run("cmdCancel");
  EXPECT_EQ(form.ClipAddress.Text(), "50");
}

TEST_F(OptionsDialog, ClosingByTheFrameActsAsCancelAndOnlyTheExitUnloads) {
  UseFile("[Options]\r\nBefore=2021\r\n");
  form.Show();
  form.txtBefore.SetText("2099");
  form.CloseRequestedByUser();
  EXPECT_TRUE(form.Loaded());
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(form.txtBefore.Text(), "2021");
  form.UnloadForExit();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.SettingsFile(), "");
}

}  // namespace
}  // namespace qs

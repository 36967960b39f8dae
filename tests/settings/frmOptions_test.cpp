#include "settings/frmOptions.h"

#include <gtest/gtest.h>

#include "platform/settings_file.h"
#include "tests/common/console_session.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

class OptionsDialog : public ::testing::Test {
 protected:
  OptionsDialog() { form.Load(); }
  // Binds the dialog to a file of the scratch directory holding text.
  void UseFile(const std::string& text) {
    dir.Write("opts.ini", text);
    form.UseCustomINI(dir.File("opts.ini"));
  }
  // Every option the dialog shows, in its order.
  std::string State() const {
    std::string state;
    for (const CheckBox* box : {&form.ckFnDate, &form.ckFnFrom, &form.ckFnSubject, &form.ckFnFolder,
                                &form.UseDate, &form.UseFrom, &form.UseSubject})
      state += std::to_string(box->Value());
    for (const EditableControl* text : std::initializer_list<const EditableControl*>{
             &form.txtFn, &form.ClipAddress, &form.ClipSubject, &form.cboFnOutput, &form.TextFormat,
             &form.txtSince, &form.txtBefore, &form.DateFormat})
      state += "|" + text->Text();
    return state;
  }
  void Run(std::initializer_list<const char*> lines) {
    for (const char* line : lines) session.windows.Execute(session.app, line);
  }

  testing::ConsoleSession session;
  test::ScratchDir dir;
  frmOptions form{session.app};
};

// Loading binds the default file; a first start gives the defaults. OK
// hides the dialog and writes all fifteen keys in order, and keeps the code
// page, which has no control and is only read; Cancel, or a
// close by the frame, hides it and reads the file back, edited by hand or
// not; emptied texts come back as their defaults, but the date bounds stay
// empty.
TEST_F(OptionsDialog, OKWritesEveryKeyAndCancelReadsTheFileBack) {
  EXPECT_EQ(form.SettingsFile(), DefaultSettingsFile("Quillstow.ini"));
  EXPECT_EQ(State(), "0000000||||MSG||||") << "the default file is not read on loading";
  form.UseCustomINI(dir.File("missing/opts.ini"));
  EXPECT_EQ(State(), "1110111|%1 %2 %3|50|50|MSG|%1 %2 %3|||yymmdd HHMMSS") << "a first start writes nothing";
  EXPECT_TRUE(dir.Tree().empty());
  EXPECT_EQ(form.CurrentStoreOptions().ansi_code_page, "");
  UseFile("[Options]\r\nAnsiCodePage=1251\r\nSince=2020-01-01\r\n");
  EXPECT_EQ(form.CurrentStoreOptions().ansi_code_page, "1251");
  form.Show();
  Run({"ckFnFolder", "ckFnDate", "txtSince=", "DateFormat=", "txtFn=", "TextFormat=%3 - %1 ",
       "cboFnOutput=rtf", "cmdOK"});
  EXPECT_FALSE(form.Shown());
  clsINI ini(session.app);  // the file's Options lines as the profile functions read them
  ini.SetFileName(dir.File("opts.ini"));
  std::vector<std::string> lines;
  ini.GetSection("Options", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "AnsiCodePage=1251", "Since=", "UseDate=1", "UseFrom=1", "UseSubject=1",
                       "UseFnDate=0", "UseFnFrom=1", "UseFnSubject=1", "UseFnFolder=1",
                       "DateFormat=", "TextFormat=\"%3 - %1 \"", "FnFormat=", "Before=",
                       "ClipAddress=50", "ClipSubject=50", "FnOutput=rtf", ""}));
  Run({"cmdCancel"});
  EXPECT_EQ(State(), "0111111|%1 %2 %3|50|50|rtf|%3 - %1 |||yymmdd HHMMSS");
  dir.Write("opts.ini", "[Options]\r\nFnFormat= %1 %2 \r\nUseFnFolder=1\r\n");
  form.Show();
  Run({"UseDate", "txtBefore=2099"});
  form.CloseRequestedByUser();  // acts as Cancel
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(State(), "1111111|%1 %2|50|50|MSG|%1 %2 %3|||yymmdd HHMMSS");
  EXPECT_TRUE(session.windows.BoxesShown().empty());
  form.UnloadForExit();
  EXPECT_EQ(form.SettingsFile(), "") << "only the exit unloads";
}

// Check values are read by their keys' rules (UseDate a leading number,
// UseFnDate the whole text, rounded half to even; what is no check state
// gives the default). A stored format wins over its check boxes until one
// is clicked; then it is made of the checked placeholders (greyed counts).
TEST_F(OptionsDialog, StoredValuesStandUntilACheckBoxIsClicked) {
  UseFile(
      "[Options]\r\nUseDate=1abc\r\nUseFnDate=abc\r\nUseFnFolder=1.5\r\nUseFrom= 0.5 "
      "\r\nUseSubject=abc\r\n"
      "UseFnFrom=7\r\nUseFnSubject=1x\r\nTextFormat=\"%2\"\r\nFnFormat=%3\r\n");
  EXPECT_EQ(State(), "0112101|%3|50|50|MSG|%2|||yymmdd HHMMSS");
  const std::pair<const char*, const char*> clicks[] = {
      {"UseFrom", "%1 %2 %3|%3"},     {"UseDate", "%2 %3|%3"},
      {"UseSubject", "%2|%3"},        {"UseSubject=2", "%2 %3|%3"},
      {"ckFnDate", "%2 %3|%1 %2 %3"}, {"ckFnFolder", "%2 %3|%1 %2 %3"}};
  for (const auto& [click, formats] : clicks) {
    Run({click});
    EXPECT_EQ(form.TextFormat.Text() + "|" + form.txtFn.Text(), formats) << click;
  }
}

// A file there that cannot be read gives the defaults, and says so once.
TEST_F(OptionsDialog, AnUnreadableFileGivesTheDefaultsAndSaysSoOnce) {
  form.UseCustomINI(dir.File("missing.ini"));
  const std::string defaults = State();
  UseFile("[Options]\nClipAddress=7\n");
  const std::string place = dir.File("settings-dir");
  std::filesystem::create_directory(place);
  form.UseCustomINI(place);
  form.LoadSettings();
  EXPECT_EQ(State(), defaults);
  ASSERT_EQ(session.Messages().size(), 1u);
  EXPECT_TRUE(session.Messages()[0].starts_with("The settings file " + place + " cannot be read: "))
      << session.Messages()[0];
  ASSERT_TRUE(form.SettingsUnreadable());
  form.UseCustomINI(dir.File("opts.ini"));
  EXPECT_FALSE(form.SettingsUnreadable());
}

TEST_F(OptionsDialog, OKThatCannotWriteSaysSoOnceAndKeepsTheNewValues) {
  const std::string unwritable = dir.Unwritable("opts.ini");
  form.UseCustomINI(unwritable);
  form.Show();
  Run({"ClipAddress=30", "cmdOK"});
  ASSERT_EQ(session.Messages().size(), 1u);
  EXPECT_NE(session.Messages()[0].find(unwritable), std::string::npos) << session.Messages()[0];
  EXPECT_EQ(form.ClipAddress.Text(), "30");
}

}  // namespace
}  // namespace qs

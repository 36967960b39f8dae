#include "settings/frmOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "platform/settings_file.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using List = std::vector<std::string>;

class OptionsDialog : public ::testing::Test {
 protected:
  OptionsDialog() {
    app.SetTitle("Quillstow");
    form.Load();
  }

  // Binds the dialog to a file of the scratch directory and loads it.
  void UseFile(const std::string& text) {
    std::ofstream(dir.Path() / "opts.ini", std::ios::binary) << text;
    form.UseCustomINI(file);
  }
  // The file as the system's profile functions read it.
  List Lines() {
    clsINI ini(app);
    ini.SetFileName(file);
    List lines;
    ini.GetSection("Options", lines);
    return lines;
  }
  void Click(const char* control) { ws.Execute(app, control); }

  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem ws{in, out, err};
  Application app{ws};
  test::ScratchDir dir;
  std::string file = dir.File("opts.ini");
  frmOptions form{app};
};

TEST_F(OptionsDialog, LoadingBindsTheDefaultFileWithoutReadingIt) {
  EXPECT_EQ(form.SettingsFile(), DefaultSettingsFile("Quillstow.ini"));
  for (const CheckBox* box : {&form.UseDate, &form.UseFrom, &form.UseSubject, &form.ckFnDate,
                              &form.ckFnFrom, &form.ckFnSubject, &form.ckFnFolder})
    EXPECT_EQ(box->Value(), CheckBox::Unchecked) << box->Name();
  for (const EditableControl* text : std::initializer_list<const EditableControl*>{
           &form.txtFn, &form.ClipAddress, &form.ClipSubject, &form.TextFormat, &form.txtSince,
           &form.txtBefore, &form.DateFormat})
    EXPECT_EQ(text->Text(), "") << text->Name();
  EXPECT_EQ(form.cboFnOutput.Text(), "MSG");
}

TEST_F(OptionsDialog, FirstStartGivesTheDefaultsAndWritesNothing) {
  form.UseCustomINI(file);
  EXPECT_EQ(form.UseDate.Value(), 1);
  EXPECT_EQ(form.UseFrom.Value(), 1);
  EXPECT_EQ(form.UseSubject.Value(), 1);
  EXPECT_EQ(form.ckFnDate.Value(), 1);
  EXPECT_EQ(form.ckFnFrom.Value(), 1);
  EXPECT_EQ(form.ckFnSubject.Value(), 1);
  EXPECT_EQ(form.ckFnFolder.Value(), 0);
  EXPECT_EQ(form.TextFormat.Text(), "%1 %2 %3");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2 %3");
  EXPECT_EQ(form.DateFormat.Text(), "yymmdd HHMMSS");
  EXPECT_EQ(form.ClipAddress.Text(), "50");
  EXPECT_EQ(form.ClipSubject.Text(), "50");
  EXPECT_EQ(form.cboFnOutput.Text(), "MSG");
  EXPECT_EQ(form.txtSince.Text(), "");
  EXPECT_EQ(form.txtBefore.Text(), "");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_F(OptionsDialog, OKHidesAndWritesAllFifteenKeysInOrder) {
  form.UseCustomINI(file);
  form.Show();
  Click("ckFnFolder");
  ws.Execute(app, "txtSince=01/02/2024");
  ws.Execute(app, "TextFormat=%3 - %1 ");
  Click("cmdOK");
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(Lines(), (List{"UseDate=1", "UseFrom=1", "UseSubject=1", "UseFnDate=1", "UseFnFrom=1",
                           "UseFnSubject=1", "UseFnFolder=1", "DateFormat=yymmdd HHMMSS",
                           "TextFormat=\"%3 - %1 \"", "FnFormat=%1 %2 %3", "Since=01/02/2024",
                           "Before=", "ClipAddress=50", "ClipSubject=50", "FnOutput=MSG", ""}));
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_F(OptionsDialog, CancelHidesAndReadsTheFileBack) {
  UseFile("[Options]\r\nSince=2020-01-01\r\n");
  form.Show();
  ws.Execute(app, "txtSince=2030-12-31");
  Click("UseDate");
  EXPECT_EQ(form.txtSince.Text(), "2030-12-31");  // in force before any OK
  Click("cmdCancel");
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(form.txtSince.Text(), "2020-01-01");
  EXPECT_EQ(form.UseDate.Value(), 1);
  EXPECT_EQ(form.TextFormat.Text(), "%1 %2 %3");
}

TEST_F(OptionsDialog, CancelTakesInAFileEditedByHand) {
  form.UseCustomINI(file);
  std::ofstream(dir.Path() / "opts.ini", std::ios::binary)
      << "[Options]\r\nFnOutput=DIR\r\nUseFnFolder=1\r\nClipSubject=20\r\n";
  Click("cmdCancel");
  EXPECT_EQ(form.cboFnOutput.Text(), "DIR");
  EXPECT_EQ(form.ckFnFolder.Value(), 1);
  EXPECT_EQ(form.ClipSubject.Text(), "20");
}

TEST_F(OptionsDialog, TheCodePageKeyIsReadAndKeptButNeverWritten) {
  EXPECT_EQ(form.CurrentStoreOptions().ansi_code_page, "");
  UseFile("[Options]\r\nAnsiCodePage=1251\r\n");
  EXPECT_EQ(form.CurrentStoreOptions().ansi_code_page, "1251");
  Click("cmdOK");
  EXPECT_EQ(Lines().front(), "AnsiCodePage=1251");
  EXPECT_EQ(Lines().size(), 17u);
}

TEST_F(OptionsDialog, BlanksAtTheEndSurviveOnlyInTheQuotedTextFormat) {
  form.UseCustomINI(file);
  form.TextFormat.SetText("%1 %2 ");
  form.txtFn.SetText("%1 %2 ");
  Click("cmdOK");
  Click("cmdCancel");
  EXPECT_EQ(form.TextFormat.Text(), "%1 %2 ");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
}

TEST_F(OptionsDialog, EmptiedTextsComeBackAsDefaultsButDateBoundsStayEmpty) {
  UseFile("[Options]\r\nSince=2020-01-01\r\n");
  Click("ckFnDate");
  Click("ckFnFrom");
  Click("ckFnSubject");
  EXPECT_EQ(form.txtFn.Text(), "");
  form.DateFormat.SetText("");
  form.txtSince.SetText("");
  Click("cmdOK");
  Click("cmdCancel");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2 %3");
  EXPECT_EQ(form.DateFormat.Text(), "yymmdd HHMMSS");
  EXPECT_EQ(form.txtSince.Text(), "");
  EXPECT_EQ(form.ckFnDate.Value(), 0);
}

TEST_F(OptionsDialog, StoredCheckValuesAreReadByTheirKeysRules) {
  UseFile(
      "[Options]\r\nUseDate=1abc\r\nUseFnDate=abc\r\nUseFnFolder=2\r\nUseFrom= 0 \r\n"
      "UseSubject=abc\r\nUseFnFrom=7\r\nUseFnSubject=1x\r\n");
  EXPECT_EQ(form.UseDate.Value(), 1);
  EXPECT_EQ(form.ckFnDate.Value(), 0);
  EXPECT_EQ(form.ckFnFolder.Value(), 2);
  EXPECT_EQ(form.UseFrom.Value(), 0);
  // Not numbers, or no check state: the key's default.
  EXPECT_EQ(form.UseSubject.Value(), 1);
  EXPECT_EQ(form.ckFnFrom.Value(), 1);
  EXPECT_EQ(form.ckFnSubject.Value(), 1);
}

TEST_F(OptionsDialog, StoredFormatsWinOverTheirCheckBoxesUntilOneIsClicked) {
  UseFile("[Options]\r\nTextFormat=\"%2\"\r\nUseDate=1\r\nFnFormat=%3\r\nUseFnFrom=0\r\n");
  EXPECT_EQ(form.TextFormat.Text(), "%2");
  EXPECT_EQ(form.txtFn.Text(), "%3");
  Click("UseFrom");
  EXPECT_EQ(form.TextFormat.Text(), "%1 %3");
  Click("ckFnFrom");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2 %3");
}

TEST_F(OptionsDialog, FormatRebuildsComposeTheCheckedPlaceholders) {
  form.UseCustomINI(file);
  form.TextFormat.SetText("custom");
  Click("UseDate");
  EXPECT_EQ(form.TextFormat.Text(), "%2 %3");
  Click("UseSubject");
  EXPECT_EQ(form.TextFormat.Text(), "%2");
  Click("UseFrom");
  EXPECT_EQ(form.TextFormat.Text(), "");
  form.UseSubject.SetValue(CheckBox::Grayed);  // greyed counts as checked
  EXPECT_EQ(form.TextFormat.Text(), "%3");
  Click("ckFnSubject");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
  Click("ckFnFolder");
  EXPECT_EQ(form.txtFn.Text(), "%1 %2");
}

TEST_F(OptionsDialog, TypedOutputFormatIsStoredAsTyped) {
  form.UseCustomINI(file);
  ws.Execute(app, "cboFnOutput=rtf");
  Click("cmdOK");
  form.cboFnOutput.SetText("MSG");
  form.LoadSettings();
  EXPECT_EQ(form.cboFnOutput.Text(), "rtf");
}

TEST_F(OptionsDialog, CustomFileInAMissingDirectoryLoadsDefaults) {
  form.UseCustomINI(dir.File("missing/opts.ini"));
  EXPECT_EQ(form.ClipAddress.Text(), "50");
  EXPECT_EQ(form.SettingsFile(), dir.File("missing/opts.ini"));
}

TEST_F(OptionsDialog, OKThatCannotWriteSaysSoOnceAndKeepsTheNewValues) {
  std::ofstream(dir.Path() / "plain") << "x";
  const std::string unwritable = dir.File("plain/opts.ini");
  form.UseCustomINI(unwritable);
  form.Show();
  ws.Execute(app, "ClipAddress=30");
  Click("cmdOK");
  ASSERT_EQ(ws.BoxesShown().size(), 1u);
  const auto& box = ws.BoxesShown()[0];
  EXPECT_EQ(box.title, "Quillstow");
  EXPECT_NE(box.text.find(unwritable), std::string::npos) << box.text;
  EXPECT_EQ(box.buttons, Buttons::OK);
  EXPECT_EQ(form.ClipAddress.Text(), "30");
  Click("cmdCancel");
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

// OK answers Enter and Cancel answers Escape.
TEST_F(OptionsDialog, OKIsTheDefaultAndCancelTheCancelButton) {
  EXPECT_TRUE(form.cmdOK.IsDefault());
  EXPECT_FALSE(form.cmdOK.IsCancel());
  EXPECT_TRUE(form.cmdCancel.IsCancel());
}

}  // namespace
}  // namespace qs

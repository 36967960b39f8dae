#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "console_session.h"
#include "settings/frmOptions.h"

namespace qs {
namespace {

using testing::ConsoleSession;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() : app(session.windows), main(app) {
    app.SetMainForm(&main);
    // The export writes beside the tests and is never shown in an editor.
    main.SetExportTarget({DefaultExportTarget().path, [this](const std::string& path) {
                            opened.push_back(path);
                          }});
    main.Load();
  }
  ConsoleSession session;
  Application app;
  frmMain main;
  std::vector<std::string> opened;
};

TEST_F(MainWindow, LoadSetsTheTitleAndTheColumns) {
  EXPECT_EQ(app.Title(), "Quillstow");
  EXPECT_EQ(main.Caption(), "Quillstow");
  EXPECT_EQ(main.ListView1.Columns().size(), kFoundColumns.size());
  EXPECT_EQ(main.ListView1.Columns()[5], "EntryID");
}

// The controls' tags tell the layout which follow the window's growth.
TEST_F(MainWindow, GrowthMovesTheButtonsAndStretchesTheList) {
  const int left = main.cmdSave.Left(), top = main.cmdSave.Top();
  const int width = main.ListView1.Width(), height = main.ListView1.Height();
  main.Resize(main.Width() + 600, main.Height() + 300);
  EXPECT_EQ(main.cmdSave.Left(), left + 600);
  EXPECT_EQ(main.cmdSave.Top(), top + 300);
  EXPECT_EQ(main.ListView1.Width(), width + 600);
  EXPECT_EQ(main.ListView1.Height(), height + 300);
  EXPECT_EQ(main.Label1.Width(), 4095) << "a control without tags stays";
}

TEST_F(MainWindow, AutomateRunsCommandsByNameInAnyLetterCase) {
  main.SetDebugMode(1);
  for (const char* name : {"Search", "SEARCH", "search", "save", "Export"}) main.Automate(name);
  const std::string trace = session.err.str();
  auto count = [&](const std::string& line) {
    std::size_t found = 0;
    for (auto at = trace.find(line); at != std::string::npos; at = trace.find(line, at + 1))
      ++found;
    return found;
  };
  EXPECT_EQ(count("begin Search\n"), 3u) << trace;
  EXPECT_EQ(count("end Search\n"), 3u);
  EXPECT_EQ(count("begin Save\n"), 1u);
  EXPECT_EQ(count("begin Export\n"), 1u);
  EXPECT_EQ(opened.size(), 1u) << "the export opened its file once";
}

TEST_F(MainWindow, AutomateRejectsUnknownNamesWithoutTrimming) {
  for (const char* name : {" search", "search ", "", "print"}) main.Automate(name);
  ASSERT_EQ(session.windows.BoxesShown().size(), 4u);
  for (const auto& box : session.windows.BoxesShown()) {
    EXPECT_EQ(box.text, "frmMain.Automate: unrecognized command.");
    EXPECT_EQ(box.buttons, Buttons::OK);
    EXPECT_EQ(box.icon, Icon::None);
  }
  EXPECT_FALSE(app.FailureShown()) << "an unknown command is no failed search or save";
}

TEST_F(MainWindow, CommandsRestoreThePointer) {
  main.Automate("search");
  EXPECT_EQ(main.Pointer(), MousePointer::Default);
}

TEST_F(MainWindow, ExitUnloadsTheWindowAndItsLayout) {
  main.Show();
  session.windows.Execute(app, "mnuFileExit");
  EXPECT_FALSE(main.Loaded());
  EXPECT_EQ(main.Layout(), nullptr);
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST_F(MainWindow, AboutBoxIsModalAndClosesWithOK) {
  session.in.str("cmdOK\n");
  main.Show();
  session.windows.Execute(app, "mnuHelpAbout");
  EXPECT_TRUE(main.Loaded());
  for (const Form* form : app.LoadedForms()) EXPECT_NE(form->Name(), "frmAbout");
}

TEST_F(MainWindow, OptionsAreLoadedHiddenAndShownModelessByTheMenu) {
  EXPECT_TRUE(main.Options().Loaded());
  EXPECT_FALSE(main.Options().Shown());
  EXPECT_EQ(main.Options().cboFnOutput.Text(), "MSG") << "settings were loaded at start";
  main.Show();
  session.windows.Execute(app, "mnuOptions");
  EXPECT_TRUE(main.Options().Shown());
  EXPECT_FALSE(main.Options().Modal());
  EXPECT_EQ(main.Options().OwnerForm(), nullptr);
  session.windows.Execute(app, "txtSince=01/01/2020");
  EXPECT_EQ(main.Options().txtSince.Text(), "01/01/2020");
}

TEST_F(MainWindow, ClosingTheWindowUnloadsTheOptionsToo) {
  main.Show();
  session.windows.Execute(app, "mnuOptions");
  main.Unload();
  EXPECT_FALSE(main.Options().Loaded());
  EXPECT_TRUE(app.LoadedForms().empty());
}

TEST_F(MainWindow, MenuEntriesCarryTheirCaptionsAndAccessKeys) {
  EXPECT_EQ(main.mnuFileExport.Caption(), "&Export to Text File");
  EXPECT_EQ(main.mnuFileExport.ParentMenu(), &main.mnuFile);
  EXPECT_EQ(main.mnuOptions.ParentMenu(), nullptr) << "Options is an entry of the menu bar";
  EXPECT_EQ(main.mnuHelpContents.Shortcut(), "F1");
  EXPECT_TRUE(main.mnuHelp1.IsSeparator());
  EXPECT_TRUE(main.mnuHelp2.IsSeparator());
}

}  // namespace
}  // namespace qs

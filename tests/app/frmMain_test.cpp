#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/frmOptions.h"
#include "tests/common/console_session.h"

namespace qs {
namespace {

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    app.SetMainForm(&main);
    // The export writes beside the tests and is never shown in an editor.
    main.SetExportTarget({DefaultExportTarget({}).path, [](const std::string&) {}});
    main.Load();
  }
  void Run(const char* line) { session.windows.Execute(app, line); }

  testing::ConsoleSession session;
  Application& app = session.app;
  frmMain main{app};
};

// Automate runs commands by name in any letter case and rejects other
// names, untrimmed, without counting them as a failed search or save.
TEST_F(MainWindow, AutomateRunsCommandsByName) {
  for (const char* name : {" search", "search ", "", "print"}) main.Automate(name);
  EXPECT_EQ(session.Messages(), std::vector<std::string>(4, "frmMain.Automate: unrecognized command."));
  EXPECT_FALSE(app.FailureShown());
  main.SetDebugMode(1);
  for (const char* name : {"Search", "SEARCH", "search", "save", "Export"}) main.Automate(name);
  std::string trace = session.err.str(), begun;
  for (auto at = trace.find("begin "); at != std::string::npos; at = trace.find("begin ", at + 1))
    begun += trace.substr(at + 6, trace.find('\n', at) - at - 6) + " ";
  EXPECT_EQ(begun, "Search Search Search Save Export ") << trace;
  EXPECT_EQ(main.Pointer(), MousePointer::Default) << "commands restore the pointer";
}

TEST_F(MainWindow, MenusOpenTheAboutBoxModallyAndTheOptionsModelessly) {
  EXPECT_TRUE(main.Options().Loaded());
  EXPECT_FALSE(main.Options().Shown());
  session.in.str("cmdOK\n");
  main.Show();
  Run("mnuHelpAbout");
  EXPECT_EQ(app.LoadedForms().size(), 2u) << "the about box closed with OK";
  Run("mnuOptions");
  EXPECT_TRUE(main.Options().Shown());
  EXPECT_FALSE(main.Options().Modal());
  Run("mnuFileExit");
  EXPECT_TRUE(app.LoadedForms().empty()) << "the exit unloads the options too";
  EXPECT_EQ(main.Layout(), nullptr);
  EXPECT_EQ(app.MainForm(), nullptr);
}

#ifndef _WIN32
// The directory button asks on the terminal and takes the path typed, ended
// by one separator.
TEST_F(MainWindow, BrowseTakesThePathTypedOnTheTerminal) {
  session.in.str("/home/user/Mail\n/\n");
  for (const char* expected : {"/home/user/Mail/", "/"}) {
    Run("cmdBrowse");
    EXPECT_EQ(main.txtDir.Text(), expected);
  }
  EXPECT_EQ(session.out.str(), "Choose Directory\nChoose Directory\n");
}
#endif

}  // namespace
}  // namespace qs

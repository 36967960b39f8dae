#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "console_session.h"
#include "settings/frmOptions.h"

namespace qs {
namespace {

using testing::ConsoleSession;

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << '(' << r.left << ',' << r.top << ',' << r.width << ',' << r.height << ')';
}

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
  std::map<std::string, Rect> Places() const {
    std::map<std::string, Rect> places;
    for (const auto& control : main.Controls())
      if (control->HasPlace())
        places[control->Name()] = {control->Left(), control->Top(), control->Width(),
                                   control->Height()};
    return places;
  }

  ConsoleSession session;
  Application app;
  frmMain main;
  std::vector<std::string> opened;
};

const std::map<std::string, Rect> kDesigned = {
    {"Label1", {120, 240, 4095, 255}},        {"txtMailFolder", {120, 480, 6375, 375}},
    {"cmdGetMailFolder", {6600, 480, 495, 375}}, {"cmdSearch", {7200, 480, 975, 375}},
    {"Label3", {120, 960, 2655, 375}},        {"ListView1", {120, 1200, 8055, 1695}},
    {"Label2", {120, 3000, 8055, 375}},       {"txtDir", {120, 3240, 6375, 375}},
    {"cmdBrowse", {6600, 3240, 495, 375}},    {"cmdSave", {7200, 3240, 975, 375}},
};

TEST_F(MainWindow, LoadSetsTheTitleAndTheEightColumns) {
  EXPECT_EQ(app.Title(), "Quillstow");
  EXPECT_EQ(main.Caption(), "Quillstow");
  EXPECT_EQ(main.ListView1.Columns(),
            (std::vector<std::string>{"Sent", "From", "Subject", "To", "Received", "EntryID",
                                      "Folder", "LatestTime"}));
  EXPECT_EQ(Places(), kDesigned);
  ASSERT_NE(main.Layout(), nullptr);
  EXPECT_EQ(main.Layout()->ControlList().size(), 10u) << "menu entries are never laid out";
}

TEST_F(MainWindow, GrowthMovesAndStretchesByTheTags) {
  main.Resize(main.Width() + 600, main.Height() + 300);
  auto expected = kDesigned;
  expected["txtMailFolder"].width += 600;
  expected["cmdGetMailFolder"].left += 600;
  expected["cmdSearch"].left += 600;
  expected["ListView1"].width += 600;
  expected["ListView1"].height += 300;
  expected["Label2"].top += 300;
  expected["txtDir"].top += 300;
  expected["txtDir"].width += 600;
  expected["cmdBrowse"].left += 600;
  expected["cmdBrowse"].top += 300;
  expected["cmdSave"].left += 600;
  expected["cmdSave"].top += 300;
  EXPECT_EQ(Places(), expected);
}

TEST_F(MainWindow, ShrinkingBelowTheDesignedSizeRestoresEveryPlace) {
  const int width = main.Width(), height = main.Height();
  main.Resize(width + 900, height + 450);
  main.Resize(width - 2000, height - 1000);
  EXPECT_EQ(Places(), kDesigned);
  main.Resize(width - 2000, height + 300);
  EXPECT_EQ(main.ListView1.Height(), 1695 + 300) << "only the negative growth counts as 0";
  EXPECT_EQ(main.ListView1.Width(), 8055);
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

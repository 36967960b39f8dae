#include "app/modMain.h"

#include <gtest/gtest.h>

#include <string>

#include "app/clsCmdline.h"
#include "app/frmMain.h"
#include "app/program.h"
#include "console_session.h"
#include "mailstore/mail_store.h"

namespace qs {
namespace {

using testing::ConsoleSession;

StartupValues Read(const std::string& text) {
  clsCmdline cmdline;
  cmdline.SetCmdline(text);
  return ReadCommandLine(cmdline);
}

const char kUsage[] =
    "Usage: \r\nQuillstow [MailFolder] [Directory] [/ini inifile]\r\n"
    "Quillstow MailFolder Directory [/ini inifile] /autorun";

TEST(CommandLineSwitches, MatchWholeTokensInAnyLetterCase) {
  EXPECT_TRUE(Read("/AUTORUN").AutoRun);
  EXPECT_TRUE(Read("-AutoRun").AutoRun);
  EXPECT_TRUE(Read("\"/autorun\"").AutoRun) << "quotes are removed before comparing";
  const auto values = Read("-autorunx -a /auto");
  EXPECT_FALSE(values.AutoRun);
  EXPECT_EQ(values.positional, (std::vector<std::string>{"-autorunx", "-a", "/auto"}));
}

TEST(CommandLineSwitches, ValueTokenIsTakenWhateverItLooksLike) {
  const auto values = Read("-ini -autorun");
  EXPECT_EQ(values.CustomIniFile, "-autorun");
  EXPECT_FALSE(values.AutoRun);
  EXPECT_EQ(Read("/ini \"My Settings.ini\" /INI other.ini").CustomIniFile, "other.ini")
      << "the later value counts";
  EXPECT_EQ(Read("a -ini").CustomIniFile, "") << "a value switch as the last token";
}

TEST(CommandLineSwitches, SwitchesAndPositionalsMix) {
  const auto values = Read("-dbg 3 \"\\\\Personal Folders\\Inbox\" /ini x.ini \"C:\\Saved Mail\"");
  EXPECT_EQ(values.DebugLevel, 3);
  EXPECT_EQ(values.CustomIniFile, "x.ini");
  EXPECT_EQ(values.positional,
            (std::vector<std::string>{"\\\\Personal Folders\\Inbox", "C:\\Saved Mail"}));
}

TEST(CommandLineSwitches, TokensAfterTheTwentiethAreIgnored) {
  std::string text;
  for (int i = 0; i < 19; ++i) text += "-dbg 1 ";  // 38 tokens, only 20 read
  text += "/autorun";
  const auto values = Read(text);
  EXPECT_FALSE(values.AutoRun);
  EXPECT_EQ(values.DebugLevel, 1);
  EXPECT_TRUE(values.positional.empty());
  EXPECT_EQ(Read("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 -ini").CustomIniFile, "")
      << "a value switch in the last slot has no value";
}

TEST(DebugLevel, RoundsHalvesToEvenAndRejectsWhatIsNoNumber) {
  EXPECT_EQ(ParseDebugLevel("2"), 2);
  EXPECT_EQ(ParseDebugLevel(" -7 "), -7);
  EXPECT_EQ(ParseDebugLevel("2.5"), 2);
  EXPECT_EQ(ParseDebugLevel("3.5"), 4);
  EXPECT_EQ(ParseDebugLevel("32767"), 32767);
  EXPECT_EQ(ParseDebugLevel("-32768"), -32768);
  EXPECT_EQ(ParseDebugLevel("32768"), std::nullopt);
  EXPECT_EQ(ParseDebugLevel("two"), std::nullopt);
  EXPECT_EQ(ParseDebugLevel("1e3"), std::nullopt);
  EXPECT_EQ(ParseDebugLevel("."), std::nullopt);
  EXPECT_EQ(ParseDebugLevel(""), std::nullopt);
}

std::unique_ptr<MailStore> UnreachableStore(Application&) {
  throw MailStoreError("the mail store is not there");
}

// Start-up on the console, with the main window's state inspected after
// start-up returned or ended the program.
struct StartUp {
  explicit StartUp(const std::string& arguments, MailStoreOpener open = UnreachableStore)
      : app(session.windows), main(app) {
    app.SetTitle("Quillstow");
    app.SetMainForm(&main);
    main.SetMailStoreOpener(std::move(open));
    try {
      modMain(app, main).Main(arguments);
    } catch (const EndProgram& end) {
      status = end.status;
    }
  }
  ConsoleSession session;
  Application app;
  frmMain main;
  std::optional<int> status;
};

TEST(StartUp, NoArgumentsOpensTheWindowWithEmptyBoxes) {
  StartUp run("");
  EXPECT_FALSE(run.status);
  EXPECT_TRUE(run.main.Shown());
  EXPECT_EQ(run.main.txtMailFolder.Text(), "");
  EXPECT_EQ(run.main.txtDir.Text(), "");
  EXPECT_EQ(run.main.ListView1.Columns().size(), 8u);
  EXPECT_TRUE(run.session.windows.BoxesShown().empty());
}

TEST(StartUp, PositionalArgumentsFillTheBoxes) {
  StartUp one("\"\\\\Personal Folders\\Inbox\"");
  EXPECT_EQ(one.main.txtMailFolder.Text(), "\\\\Personal Folders\\Inbox");
  EXPECT_EQ(one.main.txtDir.Text(), "");
  StartUp two("\"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\"");
  EXPECT_EQ(two.main.txtDir.Text(), "C:\\Saved Mail");
  EXPECT_FALSE(two.status);
}

TEST(StartUp, ThreePositionalArgumentsShowUsageBeforeTheWindow) {
  StartUp run("a b c");
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.main.Shown());
  EXPECT_TRUE(run.main.Loaded()) << "the first box was filled first";
  ASSERT_EQ(run.session.windows.BoxesShown().size(), 1u);
  EXPECT_EQ(run.session.windows.BoxesShown()[0].text, kUsage);
  EXPECT_EQ(run.session.windows.BoxesShown()[0].title, "Quillstow");
}

TEST(StartUp, AutorunNeedsExactlyTwoPositionalArguments) {
  StartUp run("\"\\\\Personal Folders\\Inbox\" /autorun");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.main.Shown()) << "the window is shown before the usage message";
  ASSERT_EQ(run.session.windows.BoxesShown().size(), 1u);
  EXPECT_EQ(run.session.windows.BoxesShown()[0].text, kUsage);
}

TEST(StartUp, AutorunRunsSearchThenSaveAndEnds) {
  StartUp run("-dbg 1 \"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\" /autorun");
  ASSERT_TRUE(run.status);
  const std::string trace = run.session.err.str();
  const auto search = trace.find("begin Search");
  const auto save = trace.find("begin Save");
  ASSERT_NE(search, std::string::npos) << trace;
  ASSERT_NE(save, std::string::npos) << trace;
  EXPECT_LT(search, save);
  EXPECT_EQ(run.main.DebugMode(), 1);
}

TEST(StartUp, UnattendedRunThatCannotSearchEndsWithStatusOne) {
  StartUp run("\"\\\\Mailbox\\Inbox\" out /autorun");
  EXPECT_EQ(run.status, 1);
  ASSERT_FALSE(run.session.windows.BoxesShown().empty());
  EXPECT_EQ(run.session.windows.BoxesShown()[0].text, "Can't access the specified Mail Folder.");
}

TEST(StartUp, DebugLevelZeroWritesNothing) {
  StartUp run("a b /autorun");
  EXPECT_EQ(run.session.err.str(), "");
}

TEST(StartUp, DebugValueThatIsNoNumberShowsUsage) {
  StartUp run("-dbg lots");
  EXPECT_EQ(run.status, 2);
}

TEST(RunProgram, EndOfInputClosesTheWindowAndEndsNormally) {
  ConsoleSession session("txtMailFolder=x\nprint\n");
  EXPECT_EQ(RunProgram(session.windows, "first"), 0);
  EXPECT_NE(session.out.str().find("txtMailFolder=x\ntxtDir=\n"), std::string::npos)
      << session.out.str();
}

TEST(RunProgram, UsageEndsWithStatusTwo) {
  ConsoleSession session;
  EXPECT_EQ(RunProgram(session.windows, "a b c"), 2);
  EXPECT_EQ(session.out.str(),
            "Quillstow: Usage: \nQuillstow [MailFolder] [Directory] [/ini inifile]\n"
            "Quillstow MailFolder Directory [/ini inifile] /autorun\n");
}

}  // namespace
}  // namespace qs

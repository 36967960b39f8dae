#include "app/modMain.h"

#include <gtest/gtest.h>

#include <string>

#include "app/clsCmdline.h"
#include "app/frmMain.h"
#include "app/program.h"
#include "mailstore/mail_store.h"
#include "tests/common/console_session.h"

namespace qs {
namespace {

using Texts = std::vector<std::string>;

// Switches match whole tokens in any letter case once their quotes are
// removed; a value switch takes the next token whatever it looks like, the
// later value counting; everything else is positional.
TEST(CommandLineSwitches, AreReadFromTheTokens) {
  const struct {
    const char* text;
    bool autorun;
    const char* ini;
    int debug;
    Texts positional;
  } cases[] = {
      {"/AUTORUN", true, "", 0, {}},
      {"-AutoRun", true, "", 0, {}},
      {"\"/autorun\"", true, "", 0, {}},
      {"-autorunx -a /auto", false, "", 0, {"-autorunx", "-a", "/auto"}},
      {"-ini -autorun", false, "-autorun", 0, {}},
      {"/ini \"My Settings.ini\" /INI other.ini", false, "other.ini", 0, {}},
      {"a -ini", false, "", 0, {"a"}},
      {"-dbg 3 \"\\\\Personal Folders\\Inbox\" /ini x.ini \"C:\\Saved Mail\"", false, "x.ini", 3,
       {"\\\\Personal Folders\\Inbox", "C:\\Saved Mail"}},
  };
  for (const auto& c : cases) {
    clsCmdline cmdline;
    cmdline.SetCmdline(c.text);
    const StartupValues values = ReadCommandLine(cmdline);
    EXPECT_EQ(values.AutoRun, c.autorun) << c.text;
    EXPECT_EQ(values.CustomIniFile, c.ini) << c.text;
    EXPECT_EQ(values.DebugLevel, c.debug) << c.text;
    EXPECT_EQ(values.positional, c.positional) << c.text;
  }
}

TEST(DebugLevel, RoundsHalvesToEvenAndRejectsWhatIsNoNumber) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"2", 2},          {" -7 ", -7},      {"2.5", 2},           {"3.5", 4},
      {"32767", 32767},  {"-32768", -32768}, {"32768", std::nullopt}, {"two", std::nullopt},
      {"1e3", std::nullopt}, {".", std::nullopt}, {"", std::nullopt}};
  for (const auto& [text, level] : cases) EXPECT_EQ(ParseDebugLevel(text), level) << text;
}

std::unique_ptr<MailStore> UnreachableStore(Application&) {
  throw MailStoreError("the mail store is not there");
}

const char kUsage[] =
    "Usage: \r\nQuillstow [MailFolder] [Directory] [/ini inifile]\r\n"
    "Quillstow MailFolder Directory [/ini inifile] /autorun";

// Start-up on the console, with the main window's state inspected after
// start-up returned or ended the program.
struct StartUp {
  explicit StartUp(const std::string& arguments) {
    app.SetTitle("Quillstow");
    app.SetMainForm(&main);
    main.SetMailStoreOpener(UnreachableStore);
    try {
      modMain(app, main).Main(arguments);
    } catch (const EndProgram& end) {
      status = end.status;
    }
  }
  testing::ConsoleSession session;
  Application& app = session.app;
  frmMain main{app};
  std::optional<int> status;
};

// The window is shown before the usage message of an autorun without two
// folders, after that of three positional arguments; an unattended run that
// fails ends with status 1.
TEST(StartUp, ArgumentsFillTheBoxesOrEndTheProgram) {
  const struct {
    const char* arguments;
    std::optional<int> status;
    bool shown;
    const char *mail_folder, *dir;
    Texts messages;
  } cases[] = {
      {"", std::nullopt, true, "", "", {}},
      {"\"\\\\Personal Folders\\Inbox\"", std::nullopt, true, "\\\\Personal Folders\\Inbox", "", {}},
      {"\"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\"", std::nullopt, true,
       "\\\\Personal Folders\\Inbox", "C:\\Saved Mail", {}},
      {"a b c", 2, false, "a", "", {kUsage}},
      {"\"\\\\Personal Folders\\Inbox\" /autorun", 2, true, "\\\\Personal Folders\\Inbox", "", {kUsage}},
      {"-dbg lots", 2, false, "", "", {kUsage}},
      {"\"\\\\Mailbox\\Inbox\" out /autorun", 1, true, "\\\\Mailbox\\Inbox", "out",
       {"Can't access the specified Mail Folder.", "There are no emails in the list."}},
  };
  for (const auto& c : cases) {
    StartUp run(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.main.Shown(), c.shown) << c.arguments;
    EXPECT_EQ(run.main.txtMailFolder.Text(), c.mail_folder) << c.arguments;
    EXPECT_EQ(run.main.txtDir.Text(), c.dir) << c.arguments;
    EXPECT_EQ(run.session.Messages(), c.messages) << c.arguments;
    EXPECT_EQ(run.session.err.str(), "") << "debug level 0 writes nothing";
  }
}

TEST(StartUp, AutorunRunsSearchThenSaveAndEnds) {
  StartUp run("-dbg 1 \"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\" /autorun");
  ASSERT_TRUE(run.status);
  const std::string trace = run.session.err.str();
  const auto search = trace.find("begin Search");
  ASSERT_NE(search, std::string::npos) << trace;
  EXPECT_LT(search, trace.find("begin Save"));
  EXPECT_EQ(run.main.DebugMode(), 1);
}

TEST(RunProgram, EndsWithTheWindowOrTheUsage) {
  testing::ConsoleSession session("txtMailFolder=x\nprint\n");
  EXPECT_EQ(RunProgram(session.windows, "first"), 0);
  EXPECT_NE(session.out.str().find("txtMailFolder=x\ntxtDir=\n"), std::string::npos) << session.out.str();
  testing::ConsoleSession usage;
  EXPECT_EQ(RunProgram(usage.windows, "a b c"), 2);
  EXPECT_EQ(usage.out.str(),
            "Quillstow: Usage: \nQuillstow [MailFolder] [Directory] [/ini inifile]\n"
            "Quillstow MailFolder Directory [/ini inifile] /autorun\n");
}

}  // namespace
}  // namespace qs

#include "app/modMain.h"

#include <gtest/gtest.h>

#include "app/clsCmdline.h"
#include "app/frmMain.h"
#include "app/program.h"
#include "tests/common/console_session.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

// Switches match whole tokens in any letter case once their quotes are
// removed; a value switch takes the next token whatever it looks like, the
// later value counting; the rest is positional. Read as "autorun [ini]
// debug |positional...".
TEST(CommandLineSwitches, AreReadFromTheTokens) {
  const std::pair<const char*, const char*> cases[] = {
      {"/AUTORUN", "1 [] 0"},
      {"\"-AutoRun\"", "1 [] 0"},
      {"-autorunx -a /auto", "0 [] 0 |-autorunx |-a |/auto"},
      {"-ini -autorun", "0 [-autorun] 0"},
      {"/ini \"My Settings.ini\" /INI other.ini", "0 [other.ini] 0"},
      {"a -ini", "0 [] 0 |a"},
      {"-dbg 3 \"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\"",
       "0 [] 3 |\\\\Personal Folders\\Inbox |C:\\Saved Mail"}};
  for (const auto& [text, read] : cases) {
    clsCmdline cmdline;
    cmdline.SetCmdline(text);
    const StartupValues values = ReadCommandLine(cmdline);
    std::string got = std::to_string(values.AutoRun) + " [" + values.CustomIniFile + "] " +
                      std::to_string(values.DebugLevel);
    for (const auto& positional : values.positional) got += " |" + positional;
    EXPECT_EQ(got, read) << text;
  }
}

// Start-up on the console with a store that cannot be reached: the status it
// ended with, whether the window is shown, its boxes and the messages; and
// whether it wrote a debug trace.
std::string StartUp(const std::string& arguments) {
  testing::ConsoleSession session;
  frmMain main(session.app);
  session.app.SetTitle("Quillstow");
  session.app.SetMainForm(&main);
  main.SetMailStoreOpener(
      [](Reporter&) -> std::unique_ptr<MailStore> { throw MailStoreError("not there"); });
  std::string outcome = "-";
  try {
    modMain(session.app, main).Main(arguments);
  } catch (const EndProgram& end) {
    outcome = std::to_string(end.status);
  }
  outcome += (main.Shown() ? " shown [" : " hidden [") + main.txtMailFolder.Text() + "|" +
             main.txtDir.Text() + "]";
  // What the error stream holds beside the boxes is the trace.
  std::string trace = session.err.str();
  for (const auto& message : session.Messages()) {
    outcome += " " + message;
    std::string printed = "Quillstow: " + message + "\n";
    for (auto at = printed.find("\r\n"); at != std::string::npos; at = printed.find("\r\n", at)) printed.erase(at, 1);
    if (const auto at = trace.find(printed); at != std::string::npos) trace.erase(at, printed.size());
  }
  if (!trace.empty()) outcome += " (traced)";
  return outcome;
}

// The window is shown before the usage of an autorun without two folders,
// not before that of three positional arguments.
TEST(StartUp, ArgumentsFillTheBoxesOrEndTheProgram) {
  const std::string usage = "Usage: \r\nQuillstow [MailFolder] [Directory] [/ini inifile]\r\n"
                            "Quillstow MailFolder Directory [/ini inifile] /autorun";
  const std::pair<const char*, std::string> cases[] = {
      {"", "- shown [|]"},
      {"\"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\"",
       "- shown [\\\\Personal Folders\\Inbox|C:\\Saved Mail]"},
      {"a b c", "2 hidden [a|] " + usage},
      {"-dbg lots", "2 hidden [|] " + usage},
      {"\"\\\\Personal Folders\\Inbox\" /autorun",
       "2 shown [\\\\Personal Folders\\Inbox|] " + usage},
      // The search's reason goes to the terminal after its message.
      {"\\\\Mailbox\\Inbox out /autorun",
       "1 shown [\\\\Mailbox\\Inbox|out] Can't access the specified Mail Folder. There are no "
       "emails in the list. (traced)"},
      {"-dbg 1 \\\\Mailbox\\Inbox out /autorun",
       "1 shown [\\\\Mailbox\\Inbox|out] Can't access the specified Mail Folder. There are no "
       "emails in the list. (traced)"}};
  for (const auto& [arguments, outcome] : cases)
    EXPECT_EQ(StartUp(arguments), outcome) << arguments;
  // A settings file that cannot be read stops an unattended run before it
  // searches: it would save with options nobody chose.
  const test::ScratchDir settings;  // a directory in the settings file's place
  const std::string outcome = StartUp("\\\\Mailbox\\Inbox out /ini \"" + settings.Text() + "\" /autorun");
  EXPECT_TRUE(outcome.starts_with("1 shown [\\\\Mailbox\\Inbox|out] The settings file " + settings.Text() +
                                  " cannot be read: "))
      << outcome;
  EXPECT_EQ(outcome.find("Mail Folder"), std::string::npos) << outcome;
}

TEST(RunProgram, EndsWithTheWindowOrTheUsage) {
  testing::ConsoleSession usage;
  EXPECT_EQ(RunProgram(usage.windows, "a b c"), 2);
  EXPECT_TRUE(usage.err.str().starts_with("Quillstow: Usage: ")) << usage.err.str();
  // Driven from standard input: a failure ends the program with 1; a box
  // that only tells how things went says nothing off a terminal.
  testing::ConsoleSession failed("txtMailFolder=\\\\Nowhere\\Inbox\ntxtDir=/nowhere\ncmdSearch\ncmdSave\n");
  EXPECT_EQ(RunProgram(failed.windows, ""), 1);
  ASSERT_EQ(failed.Messages().back(), "There are no emails in the list.");
  EXPECT_EQ(failed.err.str().find("There are no emails in the list."), std::string::npos) << failed.err.str();
  EXPECT_NE(failed.err.str().find("Quillstow: Can't access the specified Mail Folder.\n"), std::string::npos)
      << failed.err.str();
  EXPECT_EQ(failed.out.str(), "") << "nothing but rows and lists on standard output";
  testing::ConsoleSession window("txtMailFolder=x\nprint\n");
  EXPECT_EQ(RunProgram(window.windows, "first"), 0) << "the end of input closes the window";
  EXPECT_NE(window.out.str().find("txtMailFolder=x\ntxtDir=\n"), std::string::npos) << window.out.str();
}

}  // namespace
}  // namespace qs

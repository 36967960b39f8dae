#include "app/posix/front_door.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qs {
namespace {

// What the front door makes of a command line: the action, then the
// window's tokens, the run's options and the environment it sets, or the
// usage error.
std::string Read(const std::vector<std::string>& args) {
  const FrontDoor door = ReadFrontDoor(args, LocaleFacts{});
  std::ostringstream out;
  switch (door.action) {
    case FrontDoor::Action::Help: return "help";
    case FrontDoor::Action::Version: return "version";
    case FrontDoor::Action::UsageError: return "error: " + door.error;
    case FrontDoor::Action::Run: out << "run"; break;
  }
  for (const std::string& token : door.arguments) out << " [" << token << "]";
  const RunOverrides& o = door.overrides;
  if (o.since) out << " since=" << *o.since;
  if (o.before) out << " before=" << *o.before;
  if (o.fn_output) out << " format=" << *o.fn_output;
  if (o.fn_format) out << " name=" << *o.fn_format;
  if (o.date_format) out << " dates=" << *o.date_format;
  if (o.use_fn_folder) out << " subfolders=" << *o.use_fn_folder;
  if (door.mail_root) out << " root=" << *door.mail_root;
  if (door.threads) out << " threads=" << *door.threads;
  if (door.chatter != Chatter::Usual) out << (door.chatter == Chatter::Quiet ? " quiet" : " verbose");
  return out.str();
}

TEST(FrontDoor, ReadsCommandsAndOptionsAndLeavesTheRestToTheWindow) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "run"},
      {{"\\\\Mailbox\\Inbox", "out", "/autorun", "-INI", "a.ini", "/dbg", "1", "-x"},
       "run [\\\\Mailbox\\Inbox] [out] [/autorun] [-INI] [a.ini] [/dbg] [1] [-x]"},
      {{"save", "\\\\Mailbox", "out", "--format", "dir", "--since=2010-01-31", "--no-subfolders"},
       "run [\\\\Mailbox] [out] [/autorun] since=2010-01-31 format=DIR subfolders=0"},
      {{"save", "F", "D", "--name", "%3 %1", "--date-format", "yyyy", "--before", "1/31/2010", "--subfolders"},
       "run [F] [D] [/autorun] before=1/31/2010 name=%3 %1 dates=yyyy subfolders=1"},
      {{"F", "D", "/AUTORUN", "--format", "Txt"}, "run [F] [D] [/AUTORUN] format=TXT"},
      {{"--ini", "a.ini", "/ini", "b.ini", "--mail-root", "/m", "--threads", "3"},
       "run [/ini] [a.ini] [/ini] [b.ini] root=/m threads=3"},
      {{"list"}, "run [list]"},
      {{"--verbose", "x", "--quiet"}, "run [x] quiet"},
      {{"--verbose=yes"}, "error: --verbose takes no value"},
      {{"save", "--bogus", "--help"}, "error: unknown option --bogus"},
      {{"F", "-h"}, "help"},
      {{"/?"}, "help"},
      {{"--version", "--bogus"}, "version"},
      {{"--bogus=1"}, "error: unknown option --bogus"},
      {{"save", "F", "D", "--since"}, "error: --since needs a value"},
      {{"save", "F", "D", "--since", "2010-13-45"},
       "error: --since: \"2010-13-45\" is no date (write it as 2010-01-31, or as the Options form takes it)"},
      {{"save", "F", "D", "--format", "pdf"}, "error: --format: \"pdf\" is none of msg, txt, rtf, dir"},
      {{"--threads", "0"}, "error: --threads: \"0\" is no number from 1 to 999"},
      {{"--threads", "2x"}, "error: --threads: \"2x\" is no number from 1 to 999"},
      {{"--subfolders=yes"}, "error: --subfolders takes no value"},
      {{"--mail-root="}, "error: --mail-root: the path is empty"},
      {{"F", "D", "--format", "txt"},
       "error: --since, --before, --format, --name, --date-format and --subfolders go with the save command"},
  };
  for (const auto& [args, read] : cases) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    EXPECT_EQ(Read(args), read) << line;
  }
}

}  // namespace
}  // namespace qs

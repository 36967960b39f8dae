#include "app/posix/front_door.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qs {
namespace {

// What the front door makes of a command line: the action or command, then
// the window's tokens, the run's options and the environment it sets, or
// the usage error.
std::string Read(const std::vector<std::string>& args) {
  const FrontDoor door = ReadFrontDoor(args, LocaleFacts{});
  std::ostringstream out;
  switch (door.action) {
    case FrontDoor::Action::Help: return "help";
    case FrontDoor::Action::Version: return "version";
    case FrontDoor::Action::UsageError: return "error: " + door.error;
    case FrontDoor::Action::Run: break;
  }
  const char* const commands[] = {"run", "save", "list", "folders", "export"};
  out << commands[static_cast<int>(door.command)];
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
  if (door.output) out << " output=" << *door.output;
  for (std::size_t k : door.columns) out << " column=" << k;
  if (door.list_format == FrontDoor::ListFormat::Json) out << " json";
  return out.str();
}

TEST(FrontDoor, ReadsCommandsAndOptionsAndLeavesTheRestToTheWindow) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "run"},
      {{"\\\\Mailbox\\Inbox", "out", "/autorun", "-INI", "a.ini", "/dbg", "1", "-x"},
       "run [\\\\Mailbox\\Inbox] [out] [/autorun] [-INI] [a.ini] [/dbg] [1] [-x]"},
      {{"save", "\\\\Mailbox", "out", "--format", "dir", "--since=2010-01-31", "--no-subfolders"},
       "save [\\\\Mailbox] [out] [/autorun] since=2010-01-31 format=DIR subfolders=0"},
      {{"save", "F", "D", "--name", "%3 %1", "--date-format", "yyyy", "--before", "1/31/2010", "--subfolders"},
       "save [F] [D] [/autorun] before=1/31/2010 name=%3 %1 dates=yyyy subfolders=1"},
      {{"save", "F", "D", "-autorun"}, "save [F] [D] [-autorun]"},
      {{"F", "D", "/AUTORUN", "--format", "Txt"}, "run [F] [D] [/AUTORUN] format=TXT"},
      {{"--ini", "a.ini", "/ini", "b.ini", "--mail-root", "/m", "--threads", "3"},
       "run [/ini] [a.ini] [/ini] [b.ini] root=/m threads=3"},
      {{"list", "\\\\Mailbox", "--json", "--columns", "latesttime, FROM,Sent", "--output", "-", "--since",
        "2019-01-01"},
       "list [\\\\Mailbox] since=2019-01-01 output=- column=7 column=1 column=0 json"},
      {{"list", "F", "--json", "--tsv", "--date-format=yyyy", "/dbg", "2"}, "list [F] [/dbg] [2] dates=yyyy"},
      {{"export", "F", "--output=out.txt", "--ini", "a.ini"}, "export [F] [/ini] [a.ini] output=out.txt"},
      {{"folders", "--mail-root", "/m", "--quiet"}, "folders root=/m quiet"},
      {{"List", "F"}, "run [List] [F]"},
      {{"--verbose", "x", "--quiet"}, "run [x] quiet"},
      {{"--verbose=yes"}, "error: --verbose takes no value"},
      {{"save", "--bogus", "--help"}, "error: unknown option --bogus"},
      {{"F", "-h"}, "help"},
      {{"list", "/?"}, "help"},
      {{"--version", "--bogus"}, "version"},
      {{"--bogus=1"}, "error: unknown option --bogus"},
      {{"save", "F", "D", "--since"}, "error: --since needs a value"},
      {{"save", "F", "D", "--since", "2010-13-45"},
       "error: --since: \"2010-13-45\" is no date (write it as 2010-01-31, or as the Options form takes it)"},
      {{"save", "F", "D", "--format", "pdf"}, "error: --format: \"pdf\" is none of msg, txt, rtf, dir, eml"},
      {{"--threads", "0"}, "error: --threads: \"0\" is no number from 1 to 999"},
      {{"--threads", "2x"}, "error: --threads: \"2x\" is no number from 1 to 999"},
      {{"--mail-root="}, "error: --mail-root: the path is empty"},
      {{"list", "F", "--output="}, "error: --output: the file name is empty"},
      {{"list", "F", "--columns", "Sent,,From"},
       "error: --columns: \"\" is none of Sent, From, Subject, To, Received, EntryID, Folder, LatestTime"},
      {{"F", "D", "--format", "txt"}, "error: --format goes with the save command"},
      {{"list", "F", "--subfolders"}, "error: --subfolders goes with the save command"},
      {{"folders", "--since", "2010-01-01"}, "error: --since goes with the save, list and export commands"},
      {{"save", "F", "D", "--output", "x"}, "error: --output goes with the list and export commands"},
      {{"export", "F", "--json"}, "error: --json goes with the list command"},
      {{"list"}, "error: the list command takes one mail folder"},
      {{"save", "F", "/ini", "a.ini"}, "error: the save command takes a mail folder and a directory"},
      {{"folders", "F"}, "error: the folders command takes no mail folder"},
      {{"export", "F", "-dbg", "x"}, "error: /dbg takes a whole number from -32768 to 32767"},
      {{"list", "F", "/autorun"}, "error: /autorun goes with no command but save"},
  };
  for (const auto& [args, read] : cases) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    EXPECT_EQ(Read(args), read) << line;
  }
}

}  // namespace
}  // namespace qs

#include "app/posix/front_door.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/product.h"
#include "mailstore/date_parse.h"
#include "platform/text.h"
#include "save/output_format.h"

namespace qs {

namespace {

constexpr std::string_view kSaveCommand = "save";

// The options that take a value, and what each does with it; an error text
// for a value it cannot take.
using Apply = std::string (*)(FrontDoor&, const std::string&, const LocaleFacts&);

std::string Date(std::optional<std::string>& slot, const std::string& name, const std::string& value,
                 const LocaleFacts& locale) {
  if (!ParseDate(value, locale))
    return "--" + name + ": \"" + value + "\" is no date (write it as 2010-01-31, or as the Options form takes it)";
  slot = value;
  return {};
}

struct ValueOption {
  std::string_view name;
  Apply apply;
};

const std::array<ValueOption, 8> kValueOptions{{
    {"since", [](FrontDoor& door, const std::string& value, const LocaleFacts& locale) {
       return Date(door.overrides.since, "since", value, locale);
     }},
    {"before", [](FrontDoor& door, const std::string& value, const LocaleFacts& locale) {
       return Date(door.overrides.before, "before", value, locale);
     }},
    {"format", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (!OutputFormatNamed(value)) return "--format: \"" + value + "\" is none of msg, txt, rtf, dir";
       door.overrides.fn_output = AsciiUpper(value);
       return {};
     }},
    {"name", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (value.empty()) return "--name: the name format is empty";
       door.overrides.fn_format = value;
       return {};
     }},
    {"date-format", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (value.empty()) return "--date-format: the date format is empty";
       door.overrides.date_format = value;
       return {};
     }},
    {"mail-root", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (value.empty()) return "--mail-root: the path is empty";
       door.mail_root = value;
       return {};
     }},
    {"threads", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       const bool digits = !value.empty() && value.size() <= 3 &&
                           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
       if (!digits || std::stoi(value) < 1) return "--threads: \"" + value + "\" is no number from 1 to 999";
       door.threads = value;
       return {};
     }},
    {"ini", [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (value.empty()) return "--ini: the file name is empty";
       door.arguments.insert(door.arguments.end(), {"/ini", value});
       return {};
     }},
}};

FrontDoor Fails(std::string error) {
  FrontDoor door;
  door.action = FrontDoor::Action::UsageError;
  door.error = std::move(error);
  return door;
}

bool Unattended(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const std::string& token) {
    const std::string lower = AsciiLower(token);
    return lower == "/autorun" || lower == "-autorun";
  });
}

}  // namespace

FrontDoor ReadFrontDoor(const std::vector<std::string>& args, const LocaleFacts& locale) {
  FrontDoor door;
  const bool save = !args.empty() && args[0] == kSaveCommand;
  for (std::size_t i = save ? 1 : 0; i < args.size(); ++i) {
    const std::string& token = args[i];
    if (token == "-h" || token == "/?" || token == "--help") {
      door.action = FrontDoor::Action::Help;
      return door;
    }
    if (token == "--version") {
      door.action = FrontDoor::Action::Version;
      return door;
    }
    if (!token.starts_with("--")) {
      door.arguments.push_back(token);
      continue;
    }
    const auto equals = token.find('=');
    const std::string name = token.substr(2, equals == std::string::npos ? equals : equals - 2);
    if (name == "quiet" || name == "verbose") {
      if (equals != std::string::npos) return Fails("--" + name + " takes no value");
      door.chatter = name == "quiet" ? Chatter::Quiet : Chatter::Verbose;
      continue;
    }
    if (name == "subfolders" || name == "no-subfolders") {
      if (equals != std::string::npos) return Fails("--" + name + " takes no value");
      door.overrides.use_fn_folder = name == "subfolders";
      continue;
    }
    const auto option = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                     [&](const ValueOption& known) { return known.name == name; });
    if (option == kValueOptions.end()) return Fails("unknown option " + token.substr(0, equals));
    std::string value;
    if (equals != std::string::npos) {
      value = token.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Fails("--" + name + " needs a value");
    }
    if (std::string error = option->apply(door, value, locale); !error.empty()) return Fails(error);
  }
  if (save) door.arguments.emplace_back("/autorun");
  if (door.overrides.Any() && !Unattended(door.arguments))
    return Fails("--since, --before, --format, --name, --date-format and --subfolders go with the save command");
  return door;
}

std::string UsageText() {
  return "Usage: quillstow save FOLDER DIRECTORY [options]\n"
         "       quillstow [FOLDER [DIRECTORY]] [/ini FILE] [/dbg LEVEL] [/autorun] [options]\n"
         "\n"
         "Saves every mail of the mail folder FOLDER (for example '\\\\Mailbox\\Inbox') and its\n"
         "subfolders into DIRECTORY. Without the save command (or /autorun) the program shows its\n"
         "window on the terminal and reads its controls from standard input.\n"
         "\n"
         "Options of a save, for this run only (the settings file is not changed):\n"
         "  --since DATE          mail whose latest date is on or after DATE (2010-01-31)\n"
         "  --before DATE         mail whose latest date is before DATE\n"
         "  --format FORMAT       msg, txt, rtf or dir (a directory per mail with its attachments)\n"
         "  --name FORMAT         the saved names: %1 sent, %2 from, %3 subject, %4 to, %5 received,\n"
         "                        %6 entry identifier, %7 folder, %8 latest time\n"
         "  --date-format FORMAT  how names and the list write dates (yymmdd HHMMSS)\n"
         "  --subfolders          repeat the folder tree below DIRECTORY; --no-subfolders: do not\n"
         "Options of any run:\n"
         "  --mail-root PATH      the directory or Outlook data file that holds the stores\n"
         "                        (in place of QUILLSTOW_MAILROOT)\n"
         "  --threads N           how many threads read and write mail (in place of QUILLSTOW_THREADS)\n"
         "  --ini FILE            the settings file to use (as /ini FILE)\n"
         "  --quiet               tell nothing but failures, and show no progress line\n"
         "  --verbose             tell how things went also when standard error is no terminal\n"
         "  -h, --help            this text\n"
         "  --version             the program's name, version and licence\n"
         "\n"
         "Rows and lists go to standard output; messages, the progress line and the closing\n"
         "count to standard error. Messages that only tell how things went are shown on a\n"
         "terminal (or with --verbose); failures always.\n"
         "\n"
         "Exit status: 0 when everything was done; 1 when something failed; 2 for a command\n"
         "line the program cannot read.\n";
}

std::string VersionText() {
  return std::string(kProductName) + " " + ProductVersion() + "\nThis program is under the MIT licence.\n";
}

}  // namespace qs

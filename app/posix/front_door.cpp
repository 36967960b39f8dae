#include "app/posix/front_door.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/clsCmdline.h"
#include "app/modMain.h"
#include "mailstore/date_parse.h"
#include "mailstore/found_item.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/output_format.h"

namespace qs {

namespace {

using Command = FrontDoor::Command;

// The runs an option goes with: a command's, or the window's (a run with
// /autorun counts as a save).
enum Runs : unsigned { kSaveRun = 1, kListRun = 2, kExportRun = 4, kFoldersRun = 8, kWindowRun = 16 };
constexpr unsigned kAnyRun = kSaveRun | kListRun | kExportRun | kFoldersRun | kWindowRun;
constexpr unsigned kSearchRuns = kSaveRun | kListRun | kExportRun;

struct CommandWord {
  std::string_view word;
  Command command;
  Runs run;
  std::size_t positional;  // the mail folder and directory it takes
  std::string_view takes;
};

const std::array<CommandWord, 4> kCommands{{
    {"save", Command::Save, kSaveRun, 2, "a mail folder and a directory"},
    {"list", Command::List, kListRun, 1, "one mail folder"},
    {"folders", Command::Folders, kFoldersRun, 0, "no mail folder"},
    {"export", Command::Export, kExportRun, 1, "one mail folder"},
}};

// What an option does with its value (empty for an option that takes
// none); an error text for a value it cannot take.
using Apply = std::string (*)(FrontDoor&, const std::string&, const LocaleFacts&);

struct Option {
  std::string_view name;
  bool takes_value;
  unsigned runs;
  Apply apply;
};

std::string Date(std::optional<std::string>& slot, const std::string& name, const std::string& value,
                 const LocaleFacts& locale) {
  if (!ParseDate(value, locale))
    return "--" + name + ": \"" + value + "\" is no date (write it as 2010-01-31, or as the Options form takes it)";
  slot = value;
  return {};
}

std::string ColumnNames() {
  std::string names;
  for (const FoundColumn& column : kFoundColumns) names += std::string(names.empty() ? "" : ", ") + column.header;
  return names;
}

std::string Columns(FrontDoor& door, const std::string& value) {
  door.columns.clear();
  std::size_t begin = 0;
  while (true) {
    const std::size_t comma = std::min(value.find(',', begin), value.size());
    const std::string_view name = TrimBlanks(std::string_view(value).substr(begin, comma - begin));
    const auto found = std::find_if(kFoundColumns.begin(), kFoundColumns.end(), [&](const FoundColumn& column) {
      return EqualsIgnoringAsciiCase(column.header, name);
    });
    if (found == kFoundColumns.end())
      return "--columns: \"" + std::string(name) + "\" is none of " + ColumnNames();
    door.columns.push_back(static_cast<std::size_t>(found - kFoundColumns.begin()));
    if (comma == value.size()) return {};
    begin = comma + 1;
  }
}

std::string NotEmpty(std::optional<std::string>& slot, const std::string& name, const std::string& what,
                     const std::string& value) {
  if (value.empty()) return "--" + name + ": " + what + " is empty";
  slot = value;
  return {};
}

const std::array<Option, 16> kOptions{{
    {"since", true, kSearchRuns, [](FrontDoor& door, const std::string& value, const LocaleFacts& locale) {
       return Date(door.overrides.since, "since", value, locale);
     }},
    {"before", true, kSearchRuns, [](FrontDoor& door, const std::string& value, const LocaleFacts& locale) {
       return Date(door.overrides.before, "before", value, locale);
     }},
    {"date-format", true, kSearchRuns, [](FrontDoor& door, const std::string& value, const LocaleFacts&) {
       return NotEmpty(door.overrides.date_format, "date-format", "the date format", value);
     }},
    {"format", true, kSaveRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (!OutputFormatNamed(value)) return "--format: \"" + value + "\" is none of msg, txt, rtf, dir, eml";
       door.overrides.fn_output = AsciiUpper(value);
       return {};
     }},
    {"name", true, kSaveRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) {
       return NotEmpty(door.overrides.fn_format, "name", "the name format", value);
     }},
    {"subfolders", false, kSaveRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.overrides.use_fn_folder = true;
       return std::string();
     }},
    {"no-subfolders", false, kSaveRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.overrides.use_fn_folder = false;
       return std::string();
     }},
    {"output", true, kListRun | kExportRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) {
       return NotEmpty(door.output, "output", "the file name", value);
     }},
    {"columns", true, kListRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) {
       return Columns(door, value);
     }},
    {"tsv", false, kListRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.list_format = FrontDoor::ListFormat::Tsv;
       return std::string();
     }},
    {"json", false, kListRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.list_format = FrontDoor::ListFormat::Json;
       return std::string();
     }},
    {"mail-root", true, kAnyRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) {
       return NotEmpty(door.mail_root, "mail-root", "the path", value);
     }},
    {"threads", true, kAnyRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       const bool digits = !value.empty() && value.size() <= 3 &&
                           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
       if (!digits || std::stoi(value) < 1) return "--threads: \"" + value + "\" is no number from 1 to 999";
       door.threads = value;
       return {};
     }},
    {"ini", true, kAnyRun, [](FrontDoor& door, const std::string& value, const LocaleFacts&) -> std::string {
       if (value.empty()) return "--ini: the file name is empty";
       door.arguments.insert(door.arguments.end(), {"/ini", value});
       return {};
     }},
    {"quiet", false, kAnyRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.chatter = Chatter::Quiet;
       return std::string();
     }},
    {"verbose", false, kAnyRun, [](FrontDoor& door, const std::string&, const LocaleFacts&) {
       door.chatter = Chatter::Verbose;
       return std::string();
     }},
}};

FrontDoor Fails(std::string error) {
  FrontDoor door;
  door.action = FrontDoor::Action::UsageError;
  door.error = std::move(error);
  return door;
}

// "--output goes with the list and export commands".
std::string GoesWith(const Option& option) {
  std::vector<std::string_view> words;
  for (const CommandWord& command : kCommands)
    if (option.runs & command.run) words.push_back(command.word);
  std::string text = "--" + std::string(option.name) + " goes with the ";
  for (std::size_t i = 0; i < words.size(); ++i)
    text += std::string(i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + std::string(words[i]);
  return text + (words.size() == 1 ? " command" : " commands");
}

// What the window's command line of the run asks for.
StartupValues WindowValues(const FrontDoor& door) {
  clsCmdline cmdline;
  cmdline.SetCmdline(WindowCommandLine(door));
  return ReadCommandLine(cmdline);
}

// The command's own demands on the window's command line: its number of
// mail folders and directories, and a debug level that can be read.
std::string CommandLineFault(const CommandWord& command, const StartupValues& values) {
  if (values.positional.size() != command.positional)
    return "the " + std::string(command.word) + " command takes " + std::string(command.takes);
  if (values.bad_debug_level) return "/dbg takes a whole number from -32768 to 32767";
  if (values.AutoRun && command.command != Command::Save)
    return "/autorun goes with no command but save";
  return {};
}

}  // namespace

FrontDoor ReadFrontDoor(const std::vector<std::string>& args, const LocaleFacts& locale) {
  FrontDoor door;
  const auto command = std::find_if(kCommands.begin(), kCommands.end(), [&](const CommandWord& known) {
    return !args.empty() && args[0] == known.word;
  });
  if (command != kCommands.end()) door.command = command->command;
  std::vector<const Option*> used;
  for (std::size_t i = command != kCommands.end() ? 1 : 0; i < args.size(); ++i) {
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
    const auto option =
        std::find_if(kOptions.begin(), kOptions.end(), [&](const Option& known) { return known.name == name; });
    if (option == kOptions.end()) return Fails("unknown option " + token.substr(0, equals));
    std::string value;
    if (!option->takes_value) {
      if (equals != std::string::npos) return Fails("--" + name + " takes no value");
    } else if (equals != std::string::npos) {
      value = token.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Fails("--" + name + " needs a value");
    }
    if (std::string error = option->apply(door, value, locale); !error.empty()) return Fails(error);
    used.push_back(&*option);
  }
  const StartupValues values = WindowValues(door);
  const unsigned run = command != kCommands.end() ? command->run : values.AutoRun ? kSaveRun : kWindowRun;
  for (const Option* option : used)
    if (!(option->runs & run)) return Fails(GoesWith(*option));
  if (command != kCommands.end()) {
    if (std::string fault = CommandLineFault(*command, values); !fault.empty()) return Fails(fault);
    if (door.command == Command::Save && !values.AutoRun) door.arguments.emplace_back("/autorun");
  }
  return door;
}

std::string WindowCommandLine(const FrontDoor& door) {
  std::vector<const char*> tokens;
  for (const std::string& token : door.arguments) tokens.push_back(token.c_str());
  return JoinArguments(static_cast<int>(tokens.size()), tokens.data());
}

}  // namespace qs

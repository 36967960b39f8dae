#pragma once
// The Linux program's command line, read before the window's own: a command
// word first, options that begin with "--" (and -h, /?), and every other
// token left to the window's command line as it is, in its order.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/window_system.h"
#include "settings/option_values.h"

namespace qs {

struct FrontDoor {
  enum class Action { Run, Help, Version, UsageError };
  // A first argument that is exactly a command word; without one the
  // window's command line says what runs.
  enum class Command { None, Save, List, Folders, Export };
  enum class ListFormat { Tsv, Json };

  Action action = Action::Run;
  Command command = Command::None;
  std::string error{};                  // what was wrong, for a usage error
  std::vector<std::string> arguments{};  // the window's command line's tokens
  RunOverrides overrides{};
  std::optional<std::string> mail_root{}, threads{};
  Chatter chatter = Chatter::Usual;  // --quiet, --verbose: the later counts
  // Where list and export write: a file, or "-" for standard output; none
  // for the command's own place.
  std::optional<std::string> output{};
  // The list's columns, as indexes into kFoundColumns in the order asked;
  // empty for all of them.
  std::vector<std::size_t> columns{};
  ListFormat list_format = ListFormat::Tsv;  // --tsv, --json: the later counts
};

// args: the process's arguments after the program's name. Dates are read
// as the Options form reads them, in the locale's conventions.
FrontDoor ReadFrontDoor(const std::vector<std::string>& args, const LocaleFacts& locale);

// The window's command line of the run, as one text.
std::string WindowCommandLine(const FrontDoor& door);

}  // namespace qs

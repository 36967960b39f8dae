#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "app/posix/export_command.h"
#include "app/posix/folders_command.h"
#include "app/posix/front_door.h"
#include "app/posix/list_command.h"
#include "app/posix/usage_text.h"
#include "app/program.h"
#include "platform/interruption.h"
#include "platform/system.h"

namespace qs {

namespace {

// What a command that shows no window does; nothing for the others.
WindowlessWork WorkOf(const FrontDoor& door) {
  switch (door.command) {
    case FrontDoor::Command::List:
      return [&door](Application& app, frmMain& main) { RunListCommand(door, app, main, std::cout); };
    case FrontDoor::Command::Export:
      return [&door](Application& app, frmMain& main) { RunExportCommand(door, app, main, std::cout); };
    case FrontDoor::Command::Folders:
      return [](Application& app, frmMain& main) { RunFoldersCommand(app, main, std::cout); };
    case FrontDoor::Command::None:
    case FrontDoor::Command::Save:
      break;
  }
  return {};
}

}  // namespace

// The Linux program reads its own commands and options first (front_door.h);
// what is left is the window's command line.
int StartProgram(WindowSystem& windows, int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const FrontDoor door = ReadFrontDoor(args, CurrentLocaleFacts());
  switch (door.action) {
    case FrontDoor::Action::Help:
      std::cout << UsageText();
      return 0;
    case FrontDoor::Action::Version:
      std::cout << VersionText();
      return 0;
    case FrontDoor::Action::UsageError:
      std::cerr << "quillstow: " << door.error << " (quillstow --help tells more)\n";
      return 2;
    case FrontDoor::Action::Run:
      break;
  }
  windows.SetChatter(door.chatter);
  if (door.mail_root) setenv("QUILLSTOW_MAILROOT", door.mail_root->c_str(), 1);
  if (door.threads) setenv("QUILLSTOW_THREADS", door.threads->c_str(), 1);
  if (args.empty() && isatty(STDIN_FILENO))
    std::cerr << "quillstow: reading the window's controls from this terminal; quillstow --help "
                 "shows the command line\n";
  // Ctrl+C or a request to end stops a save after its item and lets any
  // other command finish; the program then ends as a shell expects of a
  // program stopped so: 128 and the signal's number.
  const InterruptionWatch stop;
  const int status = RunProgram(windows, WindowCommandLine(door), door.overrides, WorkOf(door));
  return stop.Requested() ? 128 + stop.Signal() : status;
}

}  // namespace qs

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "app/posix/front_door.h"
#include "app/program.h"
#include "platform/interruption.h"
#include "platform/system.h"

namespace qs {

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
  std::vector<const char*> tokens;
  for (const std::string& token : door.arguments) tokens.push_back(token.c_str());
  // Ctrl+C or a request to end stops a save after its item and lets any
  // other command finish; the program then ends as a shell expects of a
  // program stopped so: 128 and the signal's number.
  const InterruptionWatch stop;
  const int status =
      RunProgram(windows, JoinArguments(static_cast<int>(tokens.size()), tokens.data()), door.overrides);
  return stop.Requested() ? 128 + stop.Signal() : status;
}

}  // namespace qs

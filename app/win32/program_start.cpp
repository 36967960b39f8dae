#include "app/program.h"
#include "platform/system.h"

namespace qs {

// The Windows program reads its whole command line as the window does.
int StartProgram(WindowSystem& windows, int argc, char** argv) {
  return RunProgram(windows, CommandLineArguments(argc, argv));
}

}  // namespace qs

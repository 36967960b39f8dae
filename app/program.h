#pragma once

#include <string>

#include "app/modMain.h"
#include "platform/window_system.h"
#include "settings/option_values.h"

namespace qs {

// Runs the whole program on a window system with the given command-line
// arguments text; returns the exit status (0 normally, 1 when an unattended
// run showed a failure, or any run on a terminal, 2 after the usage message).
// overrides: options of this run alone, over those of the settings file;
// work: what a run that shows no window does (modMain::Main).
int RunProgram(WindowSystem& windows, const std::string& arguments, const RunOverrides& overrides = {},
               const WindowlessWork& work = {});

// The program as its entry point starts it, with the process's arguments.
int StartProgram(WindowSystem& windows, int argc, char** argv);

}  // namespace qs

#pragma once

#include <string>

#include "platform/window_system.h"

namespace qs {

// Runs the whole program on a window system with the given command-line
// arguments text; returns the exit status (0 normally, 1 when an unattended
// run showed a failure, 2 after the usage message).
int RunProgram(WindowSystem& windows, const std::string& arguments);

}  // namespace qs

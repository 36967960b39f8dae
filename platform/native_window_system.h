#pragma once

#include <memory>

#include "platform/window_system.h"

namespace qs {

// The window system the program runs with: Win32 windows on Windows, the
// console (standard input, output and error) elsewhere.
std::unique_ptr<WindowSystem> CreateNativeWindowSystem();

}  // namespace qs

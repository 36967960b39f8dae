#include <unistd.h>

#include <iostream>

#include "platform/console/console_window_system.h"
#include "platform/native_window_system.h"

namespace qs {

std::unique_ptr<WindowSystem> CreateNativeWindowSystem() {
  return std::make_unique<ConsoleWindowSystem>(std::cin, std::cout, std::cerr,
                                               ::isatty(STDERR_FILENO) == 1);
}

}  // namespace qs

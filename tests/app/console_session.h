#pragma once
// A console window system over in-memory streams, for driving the program's
// forms in tests: input lines in, printed lines and boxes out.

#include <sstream>
#include <string>

#include "platform/application.h"
#include "platform/console/console_window_system.h"

namespace qs::testing {

struct ConsoleSession {
  explicit ConsoleSession(const std::string& input = {}) : in(input), windows(in, out, err) {}
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  ConsoleWindowSystem windows;
};

}  // namespace qs::testing

#pragma once
// The console window system over in-memory streams and an application on
// it, for driving the program's forms in tests: input lines in, printed
// lines and message boxes out.

#include <sstream>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/console/console_window_system.h"

namespace qs::testing {

template <class Windows>
struct BasicConsoleSession {
  explicit BasicConsoleSession(const std::string& input = {}) : in(input) {}
  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.BoxesShown()) texts.push_back(box.text);
    return texts;
  }
  std::istringstream in;
  std::ostringstream out, err;
  Windows windows{in, out, err};
  Application app{windows};
};

using ConsoleSession = BasicConsoleSession<ConsoleWindowSystem>;

}  // namespace qs::testing

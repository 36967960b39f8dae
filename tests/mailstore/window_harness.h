#pragma once
// The console window system and a list of found items, for tests that drive
// the search and the folder picker.

#include <sstream>
#include <string>

#include "mailstore/found_items.h"
#include "platform/application.h"
#include "platform/console/console_window_system.h"

namespace qs::testing {

struct WindowHarness {
  explicit WindowHarness(const std::string& input_lines = {}) : input(input_lines) {}

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const MessageBoxSpec& box : console.BoxesShown()) texts.push_back(box.text);
    return texts;
  }

  std::istringstream input;
  std::ostringstream output;
  std::ostringstream errors;
  ConsoleWindowSystem console{input, output, errors};
  Application app{console};
  FoundItems list;
};

}  // namespace qs::testing

#include "platform/system.h"

namespace qs {

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (i > 0) line += ' ';
    if (!arg.empty() && arg.find_first_of(" \"") == std::string_view::npos) {
      line += arg;
      continue;
    }
    line += '"';
    for (char c : arg) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return line;
}

}  // namespace qs

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/terminal_status.h"

namespace qs {

TerminalStatusLine::TerminalStatusLine() : active_(::isatty(STDERR_FILENO) == 1) {}

TerminalStatusLine::~TerminalStatusLine() {
  if (active_ && written_) {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
  }
}

void TerminalStatusLine::Show(std::string_view text) {
  if (!active_) return;
  // Back to the start of the line, the text, then the rest of an older and
  // longer text erased.
  std::string line = "\r";
  line.append(text);
  line += "\033[K";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  written_ = true;
}

}  // namespace qs

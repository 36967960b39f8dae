#pragma once
// One line of status on standard error that is rewritten in place, for the
// progress of a long command where no window shows it. It writes only when
// standard error is a terminal: in a pipe or a log, the line would be noise.

#include <string_view>

namespace qs {

class TerminalStatusLine {
 public:
  TerminalStatusLine();
  // Clears the line, so that later output starts at the left margin.
  ~TerminalStatusLine();
  TerminalStatusLine(const TerminalStatusLine&) = delete;
  TerminalStatusLine& operator=(const TerminalStatusLine&) = delete;

  bool Active() const { return active_; }
  void Show(std::string_view text);

 private:
  bool active_;
  bool written_ = false;
};

}  // namespace qs

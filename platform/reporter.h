#pragma once
// What the mail and save layers tell the user and ask of them, without
// knowing how it is shown: the application shows it in message boxes, on the
// terminal or in the debug output; a benchmark or a test may keep it.

#include <optional>
#include <string>
#include <string_view>

namespace qs {

class Reporter {
 public:
  // A diagnostic line, written only in debug mode; from any thread.
  virtual void Debug(std::string_view line) const = 0;
  // A message to read and acknowledge.
  virtual void Tell(const std::string& text) = 0;
  // A failure, told as a message and remembered for the exit status.
  virtual void ReportFailure(const std::string& text) = 0;
  // The closing line of a long command, or a reason it stopped.
  virtual void Summary(const std::string& line, bool failure) = 0;
  // A line of text asked for; nothing when the user declines.
  virtual std::optional<std::string> Ask(const std::string& prompt, const std::string& title) = 0;

 protected:
  ~Reporter() = default;
};

}  // namespace qs

#pragma once
// The seam between the portable forms and a window system: Win32 windows on
// Windows, the console everywhere else (and in the portable tests).

#include <optional>
#include <string>
#include <string_view>

namespace qs {

class Application;
class Form;

enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxSpec {
  std::string title;
  std::string text;
  Buttons buttons = Buttons::OK;
  Icon icon = Icon::None;
  int default_button = 0;  // 0 = the first button
  bool failure = false;    // it tells of a failure, not of how things went
};

// How much a terminal run tells beside its results and failures: the
// informational boxes and the progress line.
enum class Chatter { Usual, Quiet, Verbose };

// The answer a box gives when its default button is taken.
Answer DefaultAnswer(const MessageBoxSpec& box);

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Makes the native peers of a form and its controls (nothing on the console).
  virtual void CreatePeers(Form& form) = 0;
  // Destroys them again without raising any event of the form.
  virtual void DestroyPeers(Form& form) = 0;
  // Waits, dispatching events, until the modal form is hidden or unloaded.
  virtual void RunModal(Application& app, Form& form) = 0;
  // Runs the program's events until the main form has been unloaded.
  virtual void Run(Application& app, Form& main) = 0;
  // Handles the events already waiting (redrawing included) and returns.
  virtual void DoEvents() {}
  // While held (a command runs), the windows shown so far take no input;
  // released, they take it again.
  virtual void HoldInput(bool /*held*/) {}

  virtual Answer ShowMessage(const MessageBoxSpec& box) = 0;
  // The user's text, or nothing when the box was cancelled.
  virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                             const std::string& initial) = 0;
  // Diagnostic output: standard error on the console, the debugger on Windows.
  virtual void DebugOutput(std::string_view line) = 0;
  // The closing count of a long command where the system shows one without
  // a box; false where it shows none (Windows: no box on success).
  virtual bool ShowSummary(std::string_view, bool /*failure*/) { return false; }
  // Where the system runs on a terminal: how much it tells, whether a long
  // command shows its progress line, and the program's exit status once its
  // main window has closed (1 after a failure was shown). Windows keeps its
  // boxes and ends with 0.
  virtual void SetChatter(Chatter) {}
  virtual bool ShowsProgressLine() const { return true; }
  virtual int EndStatus(bool /*failure_shown*/) const { return 0; }
};

}  // namespace qs

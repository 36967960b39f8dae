#pragma once
// The window system of a terminal: forms exist only in memory. Message boxes
// print "TITLE: TEXT" on the error stream and take their default button (a
// box that only tells how things went prints only on a terminal, or when
// asked for); the loaded forms are
// driven by lines read from standard input:
//   NAME        clicks that button, check box or menu entry
//   NAME=TEXT   sets a text box's or combo box's text, or a check box's state
//   print       prints the boxes of the shown forms and the main list's rows
// End of input closes the main window.

#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace qs {

class Control;

class ConsoleWindowSystem : public WindowSystem {
 public:
  // err_is_terminal: the closing counts of long commands are shown on err
  // always, not only after a failure.
  ConsoleWindowSystem(std::istream& in, std::ostream& out, std::ostream& err,
                      bool err_is_terminal = false)
      : in_(in), out_(out), err_(err), err_is_terminal_(err_is_terminal) {}

  void CreatePeers(Form&) override {}
  void DestroyPeers(Form&) override {}
  void RunModal(Application& app, Form& form) override;
  void Run(Application& app, Form& main) override;
  Answer ShowMessage(const MessageBoxSpec& box) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
  void DebugOutput(std::string_view line) override;
  bool ShowSummary(std::string_view line, bool failure) override;
  void SetChatter(Chatter chatter) override { chatter_ = chatter; }
  bool ShowsProgressLine() const override { return chatter_ != Chatter::Quiet; }
  int EndStatus(bool failure_shown) const override { return failure_shown ? 1 : 0; }

  // Runs one line of the driver's language.
  void Execute(Application& app, std::string_view line);

  // For tests: answers to give the next boxes instead of their defaults, and
  // every box shown so far.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  const std::vector<MessageBoxSpec>& BoxesShown() const { return shown_; }

 private:
  // Reads and runs lines until done() holds; false when the input ended.
  template <class Done>
  bool Drive(Application& app, Done done);
  Control* Lookup(const Application& app, std::string_view name) const;
  // Whether a line that tells how things went is shown (always for a failure).
  bool Chatty(bool failure) const;
  void Print(const Application& app) const;

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool err_is_terminal_;
  Chatter chatter_ = Chatter::Usual;
  std::deque<Answer> answers_;
  std::vector<MessageBoxSpec> shown_;
};

}  // namespace qs

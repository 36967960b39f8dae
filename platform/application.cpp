#include "platform/application.h"

#include <algorithm>

#include "platform/form.h"

namespace qs {

Answer DefaultAnswer(const MessageBoxSpec& box) {
  static constexpr Answer kOK[] = {Answer::OK};
  static constexpr Answer kOKCancel[] = {Answer::OK, Answer::Cancel};
  static constexpr Answer kAbortRetryIgnore[] = {Answer::Abort, Answer::Retry, Answer::Ignore};
  static constexpr Answer kYesNoCancel[] = {Answer::Yes, Answer::No, Answer::Cancel};
  static constexpr Answer kYesNo[] = {Answer::Yes, Answer::No};
  static constexpr Answer kRetryCancel[] = {Answer::Retry, Answer::Cancel};
  auto pick = [&](const auto& answers) {
    const auto count = static_cast<int>(std::size(answers));
    return answers[box.default_button >= 0 && box.default_button < count ? box.default_button : 0];
  };
  switch (box.buttons) {
    case Buttons::OK: return pick(kOK);
    case Buttons::OKCancel: return pick(kOKCancel);
    case Buttons::AbortRetryIgnore: return pick(kAbortRetryIgnore);
    case Buttons::YesNoCancel: return pick(kYesNoCancel);
    case Buttons::YesNo: return pick(kYesNo);
    case Buttons::RetryCancel: return pick(kRetryCancel);
  }
  return Answer::OK;
}

Answer Application::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                           int default_button) {
  return ShowBox({title_, text, buttons, icon, default_button});
}

void Application::ReportFailure(const std::string& text) {
  failure_shown_ = true;
  ShowBox({.title = title_, .text = text, .failure = true});
}

Answer Application::ShowBox(const MessageBoxSpec& box) {
  Debug("message box: " + box.text);
  return windows_.ShowMessage(box);
}

std::optional<std::string> Application::InputBox(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& initial) {
  return windows_.AskText(prompt, title, initial);
}

// A failure told where the system tells how things went counts as one
// shown; where it is not told (Windows), it goes to the diagnostic output.
void Application::Summary(const std::string& line, bool failure) {
  if (windows_.ShowSummary(line, failure))
    failure_shown_ = failure_shown_ || failure;
  else
    Debug(line);
}

void Application::ReportStop(const std::string& line) {
  if (windows_.ShowSummary(line, true))
    failure_shown_ = true;
  else
    ReportFailure(line);
}

void Application::Debug(std::string_view line) const {
  if (debug_level_ <= 0) return;
  std::lock_guard lock(debug_mutex_);
  windows_.DebugOutput(line);
}

void Application::SetCommandRunning(bool running) {
  command_running_ = running;
  windows_.HoldInput(running);
}

void Application::SetBusy(bool busy) const {
  for (Form* form : loaded_)
    form->SetPointer(busy ? MousePointer::Hourglass : MousePointer::Default);
}

void Application::FormLoaded(Form& form) {
  if (std::find(loaded_.begin(), loaded_.end(), &form) == loaded_.end()) loaded_.push_back(&form);
}

void Application::FormShown(Form& form) {
  std::erase(loaded_, &form);
  loaded_.push_back(&form);
}

void Application::FormUnloaded(Form& form) {
  std::erase(loaded_, &form);
  if (main_form_ == &form) main_form_ = nullptr;
}

}  // namespace qs

#pragma once
// The program-wide state that the window system keeps for the forms: the
// application title, the loaded forms and the order they were shown in, the
// main form, message boxes, the busy pointer and the debug level.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/reporter.h"
#include "platform/window_system.h"

namespace qs {

class Form;

class Application : public Reporter {
 public:
  explicit Application(WindowSystem& windows) : windows_(windows) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  WindowSystem& Windows() const { return windows_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // A message box titled with the application title.
  Answer MsgBox(const std::string& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
                int default_button = 0);
  void Tell(const std::string& text) override { MsgBox(text); }
  // A failure message: OK only, no icon; remembered for the exit status.
  void ReportFailure(const std::string& text) override;
  bool FailureShown() const { return failure_shown_; }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& initial = {});
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title) override {
    return InputBox(prompt, title);
  }

  // The closing count of a long command: shown where the window system
  // shows one (the terminal when it is one, or after a failure), else a
  // diagnostic line.
  void Summary(const std::string& line, bool failure) override;
  // Where a command the user stopped says so: with the closing count where
  // the window system shows one, else in a box; a failure either way.
  void ReportStop(const std::string& line);

  int DebugLevel() const { return debug_level_; }
  void SetDebugLevel(int level) { debug_level_ = level; }
  // Writes a diagnostic line when the debug level is positive; from any thread.
  void Debug(std::string_view line) const override;

  // Whether a command of the user's runs (see CommandScope).
  bool CommandRunning() const { return command_running_; }
  void SetCommandRunning(bool running);

  // Sets the hourglass on every loaded form, or takes it off again.
  void SetBusy(bool busy) const;

  Form* MainForm() const { return main_form_; }
  void SetMainForm(Form* form) { main_form_ = form; }
  // Loaded forms, each once, in the order they were last shown (never shown
  // ones first, in load order).
  const std::vector<Form*>& LoadedForms() const { return loaded_; }
  void FormLoaded(Form& form);
  void FormShown(Form& form);
  void FormUnloaded(Form& form);

 private:
  // Shows the box, and names it in the diagnostic output.
  Answer ShowBox(const MessageBoxSpec& box);

  WindowSystem& windows_;
  std::string title_;
  bool failure_shown_ = false;
  bool command_running_ = false;
  int debug_level_ = 0;
  mutable std::mutex debug_mutex_;  // diagnostic lines may come from worker threads
  Form* main_form_ = nullptr;
  std::vector<Form*> loaded_;
};

// The busy pointer for the length of one command, restored on every path.
class BusyPointer {
 public:
  explicit BusyPointer(const Application& app) : app_(app) { app_.SetBusy(true); }
  ~BusyPointer() { app_.SetBusy(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  const Application& app_;
};

// The length of one command of the user's, ended on every path. While it
// lasts no other command starts, and the windows shown before it take no
// input; those it opens itself (its progress window, boxes and dialogs) do.
class CommandScope {
 public:
  explicit CommandScope(Application& app) : app_(app) { app_.SetCommandRunning(true); }
  ~CommandScope() { app_.SetCommandRunning(false); }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  Application& app_;
};

}  // namespace qs

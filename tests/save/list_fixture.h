#pragma once
// A console application with a form that holds a list of found items, as
// the main window's list is filled by a search.

#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "platform/form.h"
#include "platform/list_view.h"

namespace qs::test {

struct Row {
  std::string sent = "091205 070309";
  std::string from = "sender1";
  std::string subject = "Re: hello?";
  std::string to = "someone";
  std::string received = "091205 070310";
  std::string entry_id = "id1";
  std::string folder = "\\\\Mailbox\\Inbox";
  std::string latest = "091205 070310";
};

// Notes at every message box whether the progress window was up, and can
// fail every prompt as a broken dialog would.
class RecordingWindows : public ConsoleWindowSystem {
 public:
  using ConsoleWindowSystem::ConsoleWindowSystem;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override {
    if (fail_prompts) throw std::runtime_error("the dialog failed");
    return ConsoleWindowSystem::AskText(prompt, title, initial);
  }
  Answer ShowMessage(const MessageBoxSpec& box) override {
    bool up = false;
    for (const Form* form : app->LoadedForms()) up |= form->Name() == "frmProgress";
    progress_up.push_back(up);
    return ConsoleWindowSystem::ShowMessage(box);
  }
  const Application* app = nullptr;
  std::vector<bool> progress_up;
  bool fail_prompts = false;
};

class ListFixture {
 public:
  ListFixture()
      : windows(in, out, err), app(windows), form(app, "frmMain", "", 8310, 3750),
        list(form.Add<ListView>("ListView1")) {
    app.SetTitle("Quillstow");
    windows.app = &app;
  }

  std::int32_t Add(const Row& row) {
    const std::int32_t number = list.AddRow(row.sent);
    const std::vector<std::string> columns = {row.from,     row.subject, row.to,    row.received,
                                              row.entry_id, row.folder,  row.latest};
    for (std::size_t k = 0; k < columns.size(); ++k)
      list.SetText(number, static_cast<int>(k + 1), columns[k]);
    return number;
  }

  // For each message box so far, whether the progress window was up.
  const std::vector<bool>& ProgressShownAtMessages() const { return windows.progress_up; }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.BoxesShown()) texts.push_back(box.text);
    return texts;
  }

  std::istringstream in;
  std::ostringstream out, err;
  RecordingWindows windows;
  Application app;
  Form form;
  ListView& list;
};

}  // namespace qs::test

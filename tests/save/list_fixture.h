#pragma once
// A console application and a list of found items, as a search fills the
// main window's list.

#include <string>
#include <vector>

#include "mailstore/found_items.h"
#include "platform/form.h"
#include "tests/common/console_session.h"

namespace qs::test {

// A found item as a search lists it.
struct Row : FoundItem {
  Row()
      : FoundItem{MakeDateTime(2009, 12, 5, 7, 3, 9), "sender1", "Re: hello?", "someone",
                  MakeDateTime(2009, 12, 5, 7, 3, 10), *EntryId::FromHex("00000000A1"), "\\\\Mailbox\\Inbox",
                  MakeDateTime(2009, 12, 5, 7, 3, 10)} {}
};

// Notes at every message box what the progress window showed, if it was up.
class RecordingWindows : public ConsoleWindowSystem {
 public:
  using ConsoleWindowSystem::ConsoleWindowSystem;
  Answer ShowMessage(const MessageBoxSpec& box) override {
    std::string shown = "not up";
    for (const Form* form : app->LoadedForms())
      if (form->Name() == "frmProgress")
        shown = dynamic_cast<const CaptionedControl&>(*form->Find("txtStatus")).Caption();
    progress_shown.push_back(shown);
    return ConsoleWindowSystem::ShowMessage(box);
  }
  const Application* app = nullptr;
  std::vector<std::string> progress_shown;  // for each message box so far
};

struct ListFixture : testing::BasicConsoleSession<RecordingWindows> {
  ListFixture() {
    list.Start({"yymmdd HHMMSS", LocaleFacts{}});  // "091205 070309" for 2009-12-05 07:03:09
    windows.app = &app;
  }
  FoundItems list;
};

}  // namespace qs::test

#pragma once
// A console application with a form that holds a list of found items, as
// the main window's list is filled by a search.

#include <sstream>
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

class ListFixture {
 public:
  ListFixture()
      : windows(in, out, err), app(windows), form(app, "frmMain", "", 8310, 3750),
        list(form.Add<ListView>("ListView1")) {
    app.SetTitle("Quillstow");
  }

  std::int32_t Add(const Row& row) {
    const std::int32_t number = list.AddRow(row.sent);
    const std::vector<std::string> columns = {row.from,     row.subject, row.to,    row.received,
                                              row.entry_id, row.folder,  row.latest};
    for (std::size_t k = 0; k < columns.size(); ++k)
      list.SetText(number, static_cast<int>(k + 1), columns[k]);
    return number;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.BoxesShown()) texts.push_back(box.text);
    return texts;
  }

  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem windows;
  Application app;
  Form form;
  ListView& list;
};

}  // namespace qs::test

// How long a large search result takes to reach the list: found items into
// the model alone, then into the model shown by a list view on a loaded form
// (on Windows a real owner-data list view, drawn when the message loop runs
// again), and read back row by row as the save and the export do.
//   qs_list_benchmark [rows]      (100,000 by default)

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "mailstore/found_items.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/list_view.h"
#include "platform/native_window_system.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One row as a search finds it.
qs::FoundItem Item(int row) {
  const qs::DateTime time = qs::MakeDateTime(2026, 12, 6, 8, row % 60);
  return {time,
          "sender" + std::to_string(row) + "@example.org",
          "Subject of item " + std::to_string(row),
          "someone@example.org",
          time,
          qs::EntryId(std::string(20, '\xA1') + std::to_string(row)),
          "\\\\Mailbox\\Inbox",
          time};
}

double Fill(qs::FoundItems& found, int rows) {
  const auto start = Clock::now();
  for (int row = 1; row <= rows; ++row) found.Add(Item(row));
  return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::stoi(argv[1]) : 100000;
  const auto windows = qs::CreateNativeWindowSystem();
  qs::Application app(*windows);
  qs::Form form(app, "frmMain", "Benchmark", 8310, 3750);
  auto& list = form.Add<qs::ListView>("ListView1");
  list.Move(120, 1200, 8055, 1695);
  for (const qs::FoundColumn& column : qs::kFoundColumns) list.AddColumn(column.header);
  qs::FoundItems shown;
  shown.Start({"dd.mm.yyyy hh:nn", {}});
  shown.onChange = [&list] { list.RowsChanged(); };
  list.ShowRows(shown);
  form.Show();
  windows->DoEvents();

  qs::FoundItems bare;
  bare.Start({"dd.mm.yyyy hh:nn", {}});
  const double model = Fill(bare, rows);
  const double fill = Fill(shown, rows);
  auto start = Clock::now();
  windows->DoEvents();
  const double settle = SecondsSince(start);

  start = Clock::now();
  std::size_t characters = 0;
  for (int row = 1; row <= shown.RowCount(); ++row)
    for (const std::string& text : shown.Texts(row)) characters += text.size();
  const double read = SecondsSince(start);

  std::printf("rows %d: into the model %.3f s; into the shown list %.3f s, then drawn in "
              "%.3f s (together %.3f s); read back %.3f s (%zu characters)\n",
              list.RowCount(), model, fill, settle, fill + settle, read, characters);
  return 0;
}

// Measures filling the list view of a loaded form with many rows, as a search
// does, and reading them back, as the save and the export do.

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/list_view.h"
#include "platform/win32/win32_window_system.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The eight texts of one row, as a search formats them.
std::array<std::string, 8> RowTexts(int row) {
  return {"06.12.2026 08:" + std::to_string(row % 60),
          "sender" + std::to_string(row) + "@example.org",
          "Subject of item " + std::to_string(row),
          "someone@example.org",
          "06.12.2026 09:00",
          "00000000A1B2C3D4E5F6" + std::to_string(row),
          "\\\\Mailbox\\Inbox",
          "06.12.2026 09:00"};
}

// Making the texts alone, without any list: the part of a fill that is not
// the list's.
double MakeTexts(int rows) {
  const auto start = std::chrono::steady_clock::now();
  std::size_t sink = 0;
  for (int row = 1; row <= rows; ++row) sink += RowTexts(row)[5].size();
  const double seconds = SecondsSince(start);
  if (sink == 0) std::puts("");
  return seconds;
}

// Appends rows with eight texts each, as a search fills the list.
double Fill(qs::ListView& list, int rows) {
  const auto start = std::chrono::steady_clock::now();
  for (int row = 1; row <= rows; ++row) {
    auto texts = RowTexts(row);
    const auto added = list.AddRow(std::move(texts[0]));
    for (int column = 1; column < 8; ++column) list.SetText(added, column, std::move(texts[column]));
  }
  return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::stoi(argv[1]) : 100000;
  qs::win32::Win32WindowSystem windows;
  qs::Application app(windows);
  qs::Form form(app, "frmMain", "Benchmark", 8310, 3750);
  auto& list = form.Add<qs::ListView>("ListView1");
  list.Move(120, 1200, 8055, 1695);
  for (const char* header :
       {"Sent", "From", "Subject", "To", "Received", "EntryID", "Folder", "LatestTime"})
    list.AddColumn(header);
  form.Show();
  windows.ProcessPendingMessages();

  // The same rows in a list without a window: what the layer adds is the rest.
  qs::Form bare(app, "frmBare", "Bare", 8310, 3750);
  const double model = Fill(bare.Add<qs::ListView>("ListView1"), rows);

  const double texts = MakeTexts(rows);
  const double fill = Fill(list, rows);
  auto start = std::chrono::steady_clock::now();
  windows.ProcessPendingMessages();
  const double settle = SecondsSince(start);

  start = std::chrono::steady_clock::now();
  std::size_t characters = 0;
  for (int row = 1; row <= list.RowCount(); ++row)
    for (int column = 0; column < 8; ++column) characters += list.Text(row, column).size();
  const double read = SecondsSince(start);

  std::printf(
      "rows %d: append with 8 texts %.3f s (without a window %.3f s; making the texts alone "
      "%.3f s), pending messages %.3f s, read back %.3f s (%zu characters)\n",
      list.RowCount(), fill, model, texts, settle, read, characters);
  return 0;
}

// Appends 100,000 found-item rows of eight texts to a list on a loaded form
// and reads them back, printing both times. Built for every window system; on
// Windows the list is shown by a real owner-data list view.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/list_view.h"
#include "platform/native_window_system.h"

int main() {
  using Clock = std::chrono::steady_clock;
  constexpr int kRows = 100000;
  const auto windows = qs::CreateNativeWindowSystem();
  qs::Application app(*windows);
  qs::Form form(app, "frmBenchmark", "Benchmark", 8310, 3750);
  auto& list = form.Add<qs::ListView>("ListView1");
  list.Move(120, 120, 8000, 3000);
  for (const char* header : {"Sent", "From", "Subject", "To", "Received", "EntryID", "Folder",
                             "LatestTime"})
    list.AddColumn(header);
  form.Load();

  const auto start = Clock::now();
  for (int i = 0; i < kRows; ++i) {
    const auto row = list.AddRow("240131 120000");
    list.SetText(row, 1, "sender" + std::to_string(i) + "@example.org");
    list.SetText(row, 2, "Subject of message " + std::to_string(i));
    list.SetText(row, 3, "Recipient Name");
    list.SetText(row, 4, "240131 120500");
    list.SetText(row, 5, "0000000012345678ABCDEF" + std::to_string(i));
    list.SetText(row, 6, "\\\\Sample\\Inbox\\Projects");
    list.SetText(row, 7, "240131 120500");
  }
  const auto appended = Clock::now();
  std::size_t characters = 0;
  for (std::int32_t row = 1; row <= list.RowCount(); ++row)
    for (int column = 0; column < 8; ++column) characters += list.Text(row, column).size();
  const auto read = Clock::now();

  const auto ms = [](auto from, auto to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
  };
  std::printf("rows: %d\nappend: %.1f ms\nread back: %.1f ms (%zu characters)\n", kRows,
              ms(start, appended), ms(appended, read), characters);
  return 0;
}

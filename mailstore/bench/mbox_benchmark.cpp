// Not a test: writes one mbox file of the given number of messages into a
// scratch directory, then lists it (the search) and saves every message of
// it as a MIME message file, also after the file was compacted under the
// list, each in a child process of its own, printing the time and the
// child's peak memory.
//
//   mbox_benchmark <messages> <scratch directory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "mailstore/bench/bench_reporter.h"
#include "mailstore/dirstore/dir_store.h"
#include "mailstore/found_items.h"
#include "mailstore/search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Messages of about 2 KB, some with a quoted "From " line and status
// headers, as mail programs leave them.
void WriteMbox(const fs::path& path, long messages, long first = 0) {
  std::ofstream out(path, std::ios::binary);
  std::string body;
  for (int i = 0; i < 24; ++i) body += "A line of the message's text, long enough to be like real mail text.\n";
  for (long i = first; i < messages; ++i) {
    out << "From sender@example.org Tue Jun 30 17:00:00 2009\n"
        << "Received: from relay.example.org by mx.example.org; Tue, 30 Jun 2009 17:00:0" << i % 10 << " +0000\n"
        << "Date: Tue, 30 Jun 2009 17:00:00 +0000\nFrom: Sender <sender@example.org>\n"
        << "To: Reader <reader@example.org>\nSubject: Message " << i << "\nStatus: RO\n"
        << "X-Mozilla-Status: 0001\nContent-Type: text/plain; charset=utf-8\n\n"
        << body << (i % 7 == 0 ? ">From the quoted line\n" : "") << "\n";
  }
}

// Runs work in a child process and prints its time and peak memory.
void Measure(const char* what, const std::function<std::string()>& work) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    try {
      const auto start = Clock::now();
      const std::string result = work();
      std::printf("%-24s %7.2f s  %s", what, std::chrono::duration<double>(Clock::now() - start).count(),
                  result.c_str());
      std::fflush(stdout);
      std::_Exit(0);
    } catch (const std::exception& error) {
      std::printf("%-24s failed: %s", what, error.what());
      std::fflush(stdout);
      std::_Exit(1);
    }
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  std::printf("  peak %ld MB\n", usage.ru_maxrss / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <messages> <scratch directory>\n", argv[0]);
    return 2;
  }
  const fs::path root = fs::path(argv[2]) / "mbox-benchmark";
  fs::create_directories(root / "Mail");
  const long messages = std::strtol(argv[1], nullptr, 10);
  WriteMbox(root / "Mail" / "Inbox.mbox", messages);
  const auto size = static_cast<unsigned long long>(fs::file_size(root / "Mail" / "Inbox.mbox"));
  std::printf("mbox file of %llu MB\n", size >> 20);
  qs::bench::BenchReporter report(std::cerr);
  const auto search = [&](qs::FoundItems& list) {
    qs::SearchMailFolder(report, [&](qs::Reporter& app) { return std::make_unique<qs::dirstore::DirStore>(app, root); },
                         "\\\\Mail\\Inbox", list, qs::SearchOptions{});
  };
  Measure("listing", [&] {
    qs::FoundItems list;
    search(list);
    return std::to_string(list.RowCount()) + " rows";
  });
  // Every message of the list saved; with compact, the file loses its
  // first message after the listing, so that every other one is elsewhere.
  const auto save = [&](bool compact) {
    qs::FoundItems list;
    search(list);
    if (compact) WriteMbox(root / "Mail" / "Inbox.mbox", messages, 1);
    qs::dirstore::DirStore store(report, root);
    fs::create_directories(root / "saved");
    int saved = 0;
    for (std::int32_t row = 1; row <= list.RowCount(); ++row) {
      try {
        store.GetItemFromID(list.RowEntryId(row))->SaveAs((root / "saved" / (std::to_string(row) + ".eml")).string(),
                                                         qs::SaveType::Eml);
        ++saved;
      } catch (const qs::MailStoreError&) {
        // The message compacted away.
      }
    }
    return std::to_string(saved) + " saved (with the listing)";
  };
  Measure("saving", [&] { return save(false); });
  Measure("saving after compaction", [&] { return save(true); });
  fs::remove_all(root);
  return 0;
}

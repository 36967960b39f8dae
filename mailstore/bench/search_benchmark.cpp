// Times a search of a large generated directory store against the floor of
// reading the first 4 KiB of every message file and against mblaze's scan of
// the same headers (where mlist and mpick are installed), in the same run.
//   qs_search_benchmark [directory [messages]]
// (default /tmp/quillstow-bench and 100,000 messages in 200 Maildir folders;
// a million messages take about 11 GB of disk).

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "mailstore/bench/bench_reporter.h"
#include "mailstore/bench/bench_store.h"
#include "mailstore/found_items.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Processor time of this process so far, all its threads together.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// The floor: open each message file, read its first 4 KiB, close it.
double ReadFloor(const fs::path& root, long& files) {
  const auto start = Clock::now();
  char buffer[4096];
  files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().filename() == ".complete") continue;
    const int fd = open(entry.path().c_str(), O_RDONLY);
    if (fd < 0) continue;
    if (read(fd, buffer, sizeof buffer) > 0) ++files;
    close(fd);
  }
  return Seconds(start);
}

// mblaze lists the Maildir folders and reads each message's header block
// for its date, as the search does; nothing when it is not installed.
double Mblaze(const fs::path& root) {
  if (std::system("command -v mlist >/dev/null && command -v mpick >/dev/null") != 0) return 0;
  const std::string command = "cd '" + (root / "Bench").string() +
                              "' && mlist */*/ | mpick -t 'date >= \"1900-01-01\"' >/dev/null";
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) return 0;
  return Seconds(start);
}

double Search(qs::Reporter& report, qs::FoundItems& list) {
  const auto start = Clock::now();
  qs::SearchMailFolder(report, qs::OpenMailStore, "\\\\Bench", list, qs::SearchOptions{});
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path root = argc > 1 ? argv[1] : "/tmp/quillstow-bench";
  std::cout << "store: " << root << " (generating on first use)" << std::endl;
  qs::bench::StoreShape shape;
  if (argc > 2) shape.messages = std::stoi(argv[2]);
  qs::bench::MakeBenchStore(root, shape);
  setenv("QUILLSTOW_MAILROOT", root.c_str(), 1);

  qs::bench::BenchReporter report(std::cerr);
  qs::FoundItems list;

  long files = 0;
  ReadFloor(root, files);  // warms the file cache
  const long base_mib = PeakMiB();
  double best_floor = 1e9, best_mblaze = 1e9, best_search = 1e9, best_cpu = 1e9;
  for (int round = 1; round <= 3; ++round) {
    const double floor = ReadFloor(root, files);
    const double mblaze = Mblaze(root);
    const double cpu = CpuSeconds();
    const double search = Search(report, list);
    best_cpu = std::min(best_cpu, CpuSeconds() - cpu);
    best_floor = std::min(best_floor, floor);
    best_mblaze = std::min(best_mblaze, mblaze);
    best_search = std::min(best_search, search);
    std::printf("round %d: read 4 KiB of %ld files %.2f s, mblaze %.2f s, search %.2f s "
                "(%d rows): %.2f x the read, %.2f x mblaze\n",
                round, files, floor, mblaze, search, list.RowCount(), search / floor,
                mblaze > 0 ? search / mblaze : 0.0);
  }
  std::printf("best: read %.2f s, mblaze %.2f s, search %.2f s: %.2f x the read (goal 1.3), "
              "%.2f x mblaze (goal 1.0); peak memory %ld MiB (%ld MiB before the first search), "
              "%.2f s per 100,000 messages; %.2f s of processor time\n",
              best_floor, best_mblaze, best_search, best_search / best_floor,
              best_mblaze > 0 ? best_search / best_mblaze : 0.0, PeakMiB(), base_mib,
              best_search * 100000 / static_cast<double>(std::max(1L, files)), best_cpu);
  return report.FailureShown() ? 1 : 0;
}

// Items per second of the data-file store (a search, a save as .msg and as
// .txt) beside two exporters over the same file in the same run: readpst
// writing one file per message (-S) and pffexport.
//   data_file_benchmark [file.pst|file.ost ...]   (default: the largest samples)

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <regex>
#include <sstream>
#include <tuple>
#include <vector>

#include "mailstore/bench/bench_reporter.h"
#include "mailstore/found_items.h"
#include "mailstore/mailroot/mail_root_store.h"
#include "mailstore/search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Runs work until a second has passed (at least once); seconds per run.
double SecondsPerRun(const std::function<void()>& work) {
  const auto start = Clock::now();
  int runs = 0;
  double seconds = 0;
  do {
    work();
    ++runs;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 1.0);
  return seconds / runs;
}

// A fresh scratch directory, removed with the object; in memory where the
// system has a memory file system, so that disk writeback does not swing
// the figures.
struct Scratch {
  Scratch() {
    std::string name = fs::is_directory("/dev/shm") ? "/dev/shm/quillstow-bench-XXXXXX"
                                                    : "/tmp/quillstow-bench-XXXXXX";
    path = mkdtemp(name.data());
  }
  ~Scratch() { fs::remove_all(path); }
  void Empty() const {
    fs::remove_all(path);
    fs::create_directory(path);
  }
  fs::path path;
};

std::size_t FilesMatching(const fs::path& root, const std::regex& name, bool directories) {
  std::size_t count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if ((directories ? entry.is_directory() : entry.is_regular_file()) &&
        std::regex_match(entry.path().filename().string(), name))
      ++count;
  return count;
}

void Row(const std::string& what, std::size_t items, double seconds) {
  std::printf("  %-28s %6zu items %9.4f s %10.0f items/s\n", what.c_str(), items, seconds,
              seconds > 0 ? static_cast<double>(items) / seconds : 0.0);
}

void Exporter(const std::string& what, const std::string& command, const Scratch& out,
              const std::regex& item_name, bool directories) {
  std::size_t items = 0;
  const double seconds = SecondsPerRun([&] {
    out.Empty();
    const int status = std::system(command.c_str());
    if (status == -1 || WEXITSTATUS(status) == 127) std::cerr << what << " did not run\n";
    items = FilesMatching(out.path, item_name, directories);
  });
  Row(what, items, seconds);
}

void Measure(const fs::path& file) {
  std::ostringstream messages;  // kept from the figures
  qs::bench::BenchReporter report(messages);
  std::cout << file.filename().string() << " (" << fs::file_size(file) / 1024 << " KiB)\n";
  qs::FoundItems list;
  const qs::SearchOptions settings;
  const auto open = [&file](qs::Reporter& owner) -> std::unique_ptr<qs::MailStore> {
    return std::make_unique<qs::mailroot::MailRootStore>(owner, file, 1252);
  };
  const std::string top =
      "\\\\" + qs::mailroot::MailRootStore(report, file, 1252).DataFileStoreNames().at(0);
  // A search opens the store anew, as the program's does.
  const double search =
      SecondsPerRun([&] { qs::SearchMailFolder(report, open, top, list, settings); });
  const auto items = static_cast<std::size_t>(list.RowCount());
  Row("search", items, search);
  const Scratch saved;
  for (const auto& [what, type, extension] :
       {std::tuple{"save as .msg", qs::SaveType::MessageUnicode, ".msg"},
        std::tuple{"save as .txt", qs::SaveType::Text, ".txt"}}) {
    const double seconds = SecondsPerRun([&] {
      saved.Empty();
      qs::mailroot::MailRootStore store(report, file, 1252);
      for (std::int32_t row = 1; row <= list.RowCount(); ++row)
        store.GetItemFromID(list.Item(row).entry_id)
            ->SaveAs((saved.path / (std::to_string(row) + extension)).string(), type);
    });
    Row(what, items, seconds);
  }
  const std::string quoted = "'" + file.string() + "'";
  Exporter("readpst -S", "readpst -q -S -o '" + saved.path.string() + "' " + quoted + " >/dev/null 2>&1",
           saved, std::regex("[0-9]+"), false);
  Exporter("pffexport", "pffexport -q -t '" + (saved.path / "x").string() + "' " + quoted +
                            " >/dev/null 2>&1",
           saved, std::regex("Message[0-9]+"), true);
  if (report.FailureShown()) std::cout << "  (some items could not be read)\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) files.emplace_back(argv[i]);
  if (files.empty())
    for (const char* name : {"SampleOstFile.ost", "Test_part1.pst", "source.pst"})
      files.push_back(fs::path(QUILLSTOW_PST_CORPUS) / name);
  for (const fs::path& file : files) {
    try {
      Measure(file);
    } catch (const std::exception& error) {
      std::cerr << file.string() << ": " << error.what() << "\n";
      return 1;
    }
  }
  return 0;
}

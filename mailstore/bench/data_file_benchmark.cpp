// Processor time of the data-file store (a search, saves as .msg, as .txt,
// as .eml and as directories of text, HTML and attachments) beside the exporters
// over the same file in the same run: readpst listing one file per message
// (-S), readpst writing each as a mail file (-e) and pffexport; and the
// store's own figures with libpff's functions unwrapped (pff_shortcuts.h).
// "msg, then eml" is the Windows program's way to .eml: the message file
// of the item read back and written again as MIME; less "save as msg", it
// is what that costs beyond the message file Outlook writes.
// One thread, output in memory where the system has a memory file system.
//   data_file_benchmark [file.pst|file.ost ...]   (default: the largest samples)

#include <sys/resource.h>
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
#include "mailstore/properties/message_file_eml.h"
#include "mailstore/pststore/pff_shortcuts.h"
#include "mailstore/search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Processor time (user and system) of this process, or of its children
// that have ended.
double ProcessorSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs work until a second has passed (at least once); processor seconds
// per run, of this process or (RUSAGE_CHILDREN) of the programs it ran.
double SecondsPerRun(const std::function<void()>& work, int who = RUSAGE_SELF) {
  const auto start = Clock::now();
  const double processor = ProcessorSeconds(who);
  int runs = 0;
  do {
    work();
    ++runs;
  } while (std::chrono::duration<double>(Clock::now() - start).count() < 1.0);
  return (ProcessorSeconds(who) - processor) / runs;
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

void Row(const std::string& what, std::size_t items, double seconds, const std::string& beside = {}) {
  std::printf("  %-22s %5zu items %8.4f s %9.0f items/s  %s\n", what.c_str(), items, seconds,
              seconds > 0 ? static_cast<double>(items) / seconds : 0.0, beside.c_str());
}

double Exporter(const std::string& what, const std::string& command, const Scratch& out,
                const std::regex& item_name, bool directories) {
  std::size_t items = 0;
  const double seconds = SecondsPerRun(
      [&] {
        out.Empty();
        const int status = std::system(command.c_str());
        if (status == -1 || WEXITSTATUS(status) == 127) std::cerr << what << " did not run\n";
        items = FilesMatching(out.path, item_name, directories);
      },
      RUSAGE_CHILDREN);
  Row(what, items, seconds);
  return seconds;
}

// Each listed item saved as the save run saves it in the form, by the
// store opened anew.
void SaveAll(const fs::path& file, qs::Reporter& report, const qs::FoundItems& list, const fs::path& into,
             const std::string& form) {
  qs::mailroot::MailRootStore store(report, file, 1252);
  for (std::int32_t row = 1; row <= list.RowCount(); ++row) {
    const std::unique_ptr<qs::MailItem> item = store.GetItemFromID(list.Item(row).entry_id);
    const fs::path base = into / std::to_string(row);
    if (form == "msg") {
      item->SaveAs(base.string() + ".msg", qs::SaveType::MessageUnicode);
    } else if (form == "txt") {
      item->SaveAs(base.string() + ".txt", qs::SaveType::Text);
    } else if (form == "eml") {
      item->SaveAs(base.string() + ".eml", qs::SaveType::Eml);
    } else if (form == "msg, then eml") {
      item->SaveAs(base.string() + ".msg", qs::SaveType::MessageUnicode);
      qs::SaveMessageFileAsEml(qs::ReadRegularFile(base.string() + ".msg").value(), {}, base.string() + ".eml");
    } else {
      fs::create_directory(base);
      item->SaveAs((base / "message.txt").string(), qs::SaveType::Text);
      item->SaveAs((base / "message.html").string(), qs::SaveType::Html);
      const std::int32_t attachments = item->AttachmentCount();
      if (attachments > 0) fs::create_directory(base / "attachments");
      for (std::int32_t a = 1; a <= attachments; ++a)
        item->AttachmentAt(a)->SaveAsFile((base / "attachments" / std::to_string(a)).string());
    }
  }
}

std::string Beside(double seconds, double reference, const char* what, double goal) {
  char text[96];
  std::snprintf(text, sizeof text, "%5.2f x %s (at most %.1f)", seconds / reference, what, goal);
  return text;
}

void Measure(const fs::path& file) {
  std::ostringstream messages;  // kept from the figures
  qs::bench::BenchReporter report(messages);
  std::cout << file.filename().string() << " (" << fs::file_size(file) / 1024
            << " KiB), processor seconds per run\n";
  qs::FoundItems list;
  const qs::SearchOptions settings;
  const auto open = [&file](qs::Reporter& owner) -> std::unique_ptr<qs::MailStore> {
    return std::make_unique<qs::mailroot::MailRootStore>(owner, file, 1252);
  };
  const std::string top =
      "\\\\" + qs::mailroot::MailRootStore(report, file, 1252).DataFileStoreNames().at(0);
  const Scratch saved;
  // The exporters first: the store's rows are shown beside them.
  const std::string quoted = "'" + file.string() + "'";
  const std::string into = "'" + saved.path.string() + "'";
  const double listed = Exporter("readpst -S", "readpst -q -S -o " + into + " " + quoted + " >/dev/null 2>&1",
                                 saved, std::regex("[0-9]+"), false);
  const double mails = Exporter("readpst -e", "readpst -q -e -o " + into + " " + quoted + " >/dev/null 2>&1",
                                saved, std::regex("[0-9]+\\.eml"), false);
  const double exported = Exporter("pffexport", "pffexport -q -t '" + (saved.path / "x").string() + "' " +
                                                    quoted + " >/dev/null 2>&1",
                                   saved, std::regex("Message[0-9]+"), true);
  for (const bool shortcuts : {true, false}) {
    qs::pststore::UsePffShortcuts(shortcuts);
    const std::string how = shortcuts ? "" : " (unwrapped)";
    // A search opens the store anew, as the program's does.
    const double search = SecondsPerRun([&] { qs::SearchMailFolder(report, open, top, list, settings); });
    const auto items = static_cast<std::size_t>(list.RowCount());
    Row("search" + how, items, search, Beside(search, listed, "readpst -S", 0.5));
    for (const auto& [form, reference, what, goal] :
         {std::tuple{"txt", mails, "readpst -e", 0.9}, std::tuple{"msg", mails, "readpst -e", 0.0},
          std::tuple{"eml", mails, "readpst -e", 0.0}, std::tuple{"msg, then eml", mails, "readpst -e", 0.0},
          std::tuple{"dir", exported, "pffexport", 0.6}}) {
      const double seconds = SecondsPerRun([&] {
        saved.Empty();
        SaveAll(file, report, list, saved.path, form);
      });
      Row(std::string("save as ") + form + how, items, seconds,
          goal > 0 ? Beside(seconds, reference, what, goal) : std::string());
    }
  }
  qs::pststore::UsePffShortcuts(true);
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

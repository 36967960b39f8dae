// Times saving 10,000 listed messages of a generated directory store in each
// output format, beside cp -r of the same message files in the same run;
// each the best of three. Each save is then run again into the directory it
// filled, where every mail is unchanged, and timed beside the search alone.
//   qs_save_benchmark [directory]   (default /tmp/quillstow-save-bench)
// A "copy" run stands in a store whose SaveAs copies the message file: it
// shows what the save run itself costs (list, names, directories, fetching
// each item by its identifier) whatever the store's writing costs.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "mailstore/bench/bench_store.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "mailstore/found_items.h"
#include "save/modSaveListedItems.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// User and system time of this process, its threads included.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long CountFiles(const fs::path& dir) {
  long files = 0;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error))
    if (entry.is_regular_file()) ++files;
  return files;
}

// An item of the real store whose writing is a plain copy of its file.
class CopyingItem : public qs::MailItem {
 public:
  CopyingItem(std::unique_ptr<qs::MailItem> item, fs::path source)
      : item_(std::move(item)), source_(std::move(source)) {}
  int Class() override { return item_->Class(); }
  qs::DateTime SentOn() override { return item_->SentOn(); }
  qs::DateTime ReceivedTime() override { return item_->ReceivedTime(); }
  qs::DateTime CreationTime() override { return item_->CreationTime(); }
  bool Sent() override { return item_->Sent(); }
  std::string SenderEmailAddress() override { return item_->SenderEmailAddress(); }
  std::string To() override { return item_->To(); }
  std::string Subject() override { return item_->Subject(); }
  std::string EntryID() override { return item_->EntryID(); }
  qs::DateTime LastModificationTime() override { return item_->LastModificationTime(); }
  std::int64_t Size() override { return item_->Size(); }
  std::string Identity() override { return item_->Identity(); }
  std::unique_ptr<qs::Folder> Parent() override { return item_->Parent(); }
  void SaveAs(const std::string& path, qs::SaveType) override {
    fs::copy_file(source_, path, fs::copy_options::overwrite_existing);
  }
  std::int32_t AttachmentCount() override { return 0; }
  std::unique_ptr<qs::Attachment> AttachmentAt(std::int32_t) override { return nullptr; }

 private:
  std::unique_ptr<qs::MailItem> item_;
  fs::path source_;
};

class CopyingStore : public qs::MailStore {
 public:
  CopyingStore(std::unique_ptr<qs::MailStore> store, fs::path root)
      : store_(std::move(store)), root_(std::move(root)) {}
  std::unique_ptr<qs::Folder> TopFolder(const std::string& name) override {
    return store_->TopFolder(name);
  }
  std::unique_ptr<qs::Folder> PickFolder() override { return store_->PickFolder(); }
  bool ItemsInParallel() const override { return store_->ItemsInParallel(); }
  std::unique_ptr<qs::MailItem> GetItemFromID(const std::string& id) override {
    const auto relative = qs::dirstore::DecodeEntryId(id);
    if (!relative) throw qs::MailStoreError("not an identifier of the store");
    return std::make_unique<CopyingItem>(store_->GetItemFromID(id), root_ / *relative);
  }

 private:
  std::unique_ptr<qs::MailStore> store_;
  fs::path root_;
};

}  // namespace

int main(int argc, char** argv) {
  const fs::path work = argc > 1 ? argv[1] : "/tmp/quillstow-save-bench";
  const fs::path root = work / "store";
  std::cout << "store: " << root << " (generating on first use)" << std::endl;
  qs::bench::StoreShape shape;
  shape.folders = 20;
  shape.messages = 10000;
  qs::bench::MakeBenchStore(root, shape);
  setenv("QUILLSTOW_MAILROOT", root.c_str(), 1);

  std::istringstream no_input;
  std::ostringstream messages;
  qs::ConsoleWindowSystem console(no_input, messages, std::cerr);
  qs::Application app(console);
  app.SetTitle("Quillstow");
  qs::FoundItems list;
  qs::SearchOptions search;
  search.date_format = "yymmdd HHMMSS";
  qs::SearchMailFolder(app, qs::OpenMailStore, "\\\\Bench", list, search);
  const int rows = list.RowCount();
  double search_seconds = 1e9;
  for (int attempt = 0; attempt < 3; ++attempt) {
    qs::FoundItems again;
    const auto start = Clock::now();
    qs::SearchMailFolder(app, qs::OpenMailStore, "\\\\Bench", again, search);
    search_seconds = std::min(search_seconds, Seconds(start));
  }
  std::printf("listed %d messages; search %.3f s\n", rows, search_seconds);

  const fs::path out = work / "out";
  const auto fresh = [&](const char* name) {
    fs::remove_all(out / name);
    fs::create_directories(out / name);
    return (out / name).string();
  };

  // Each is timed three times, into a fresh directory each time, and the
  // best time counts, with the processor time this process spent on it.
  struct Timing {
    double seconds = 1e9;
    double processor = 0;
  };
  const auto best_of_three = [&](const char* name, const std::function<void(const std::string&)>& timed) {
    std::string target;
    Timing best;
    for (int attempt = 0; attempt < 3; ++attempt) {
      target = fresh(name);
      const double processor = ProcessorSeconds();
      const auto start = Clock::now();
      timed(target);
      const double seconds = Seconds(start);
      if (seconds < best.seconds) best = {seconds, ProcessorSeconds() - processor};
    }
    return std::pair{target, best};
  };
  const auto [cp_target, cp_timing] = best_of_three("cp", [&](const std::string& target) {
    const std::string command = "cp -r '" + (root / "Bench").string() + "' '" + target + "'";
    if (std::system(command.c_str()) != 0) std::cerr << "cp failed" << std::endl;
  });
  const double cp_seconds = cp_timing.seconds;
  std::printf("%-5s %7.3f s  %8.0f items/s  %6ld files\n", "cp -r", cp_seconds,
              rows / cp_seconds, CountFiles(cp_target));

  const qs::MailStoreOpener copying = [&](qs::Application& a) -> std::unique_ptr<qs::MailStore> {
    return std::make_unique<CopyingStore>(qs::OpenMailStore(a), root);
  };
  struct Run {
    const char* label;
    const char* format;
    bool copy;
    const char* name_format = "%1 %2 %3";  // "Daily report": every mail of one name
    bool subfolders = true;
  };
  // Further arguments name the runs to time (copy, txt, rtf, dir, msg, flat,
  // same); all by default. "flat" and "same" save into one directory, with
  // distinct names and with every mail of one name.
  const std::vector<std::string> wanted(argv + std::min(argc, 2), argv + argc);
  for (const Run& run : {Run{"copy", "txt", true}, Run{"txt", "txt", false}, Run{"rtf", "rtf", false},
                         Run{"dir", "dir", false}, Run{"msg", "msg", false},
                         Run{"flat", "txt", false, "%1 %2 %3", false},
                         Run{"same", "txt", false, "Daily report", false}}) {
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), run.label) == wanted.end())
      continue;
    const qs::SaveOptions settings{.fn_format = run.name_format,
                                   .fn_output = run.format,
                                   .use_fn_folder = run.subfolders,
                                   .clip_address = "50",
                                   .clip_subject = "50"};
    const auto [target, timing] = best_of_three(run.label, [&](const std::string& into) {
      messages.str({});
      qs::SaveListedItems(app, run.copy ? copying : qs::MailStoreOpener(qs::OpenMailStore),
                          "\\\\Bench", list, into, settings);
    });
    std::string said = messages.str();
    if (!said.empty() && said.back() == '\n') said.pop_back();
    std::printf("%-5s %7.3f s  %8.0f items/s  %6ld files  %5.2f x cp -r  processor %.3f s  %s\n",
                run.label, timing.seconds, rows / timing.seconds, CountFiles(target),
                timing.seconds / cp_seconds, timing.processor, said.c_str());
    double again = 1e9;
    for (int attempt = 0; attempt < 3; ++attempt) {
      const auto start = Clock::now();
      qs::SaveListedItems(app, run.copy ? copying : qs::MailStoreOpener(qs::OpenMailStore),
                          "\\\\Bench", list, target, settings);
      again = std::min(again, Seconds(start));
    }
    std::printf("%-5s %7.3f s  saved again, all unchanged: %5.2f x the search (at most 1.5)\n",
                run.label, again, again / search_seconds);
  }
  return 0;
}

// Times saving 10,000 listed messages of a generated directory store in each
// output format, beside cp -r of the same message files in the same run;
// each the best of seven. Each first save is timed beside the same save
// recording nothing, as saves did before they kept a record; each is then
// run again into the directory it filled, where every mail is unchanged,
// and timed beside the search alone.
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
#include "mailstore/found_items.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "platform/application.h"
#include "platform/console/console_window_system.h"
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

// An item of the real store as a run sees it, but for what the benchmark
// changes: its writing a plain copy of its file, or no identity, so that the
// run records nothing of it, as runs did before they kept a record.
struct Wrapping {
  bool copy = false;
  bool unrecorded = false;
};

class WrappedItem : public qs::MailItem {
 public:
  WrappedItem(std::unique_ptr<qs::MailItem> item, fs::path source, Wrapping wrapping)
      : item_(std::move(item)), source_(std::move(source)), wrapping_(wrapping) {}
  int Class() override { return item_->Class(); }
  qs::DateTime SentOn() override { return item_->SentOn(); }
  qs::DateTime ReceivedTime() override { return item_->ReceivedTime(); }
  qs::DateTime CreationTime() override { return item_->CreationTime(); }
  bool Sent() override { return item_->Sent(); }
  std::string SenderEmailAddress() override { return item_->SenderEmailAddress(); }
  std::string To() override { return item_->To(); }
  std::string Subject() override { return item_->Subject(); }
  qs::EntryId EntryID() override { return item_->EntryID(); }
  qs::DateTime LastModificationTime() override { return item_->LastModificationTime(); }
  std::int64_t Size() override { return item_->Size(); }
  std::string Identity() override { return wrapping_.unrecorded ? std::string() : item_->Identity(); }
  std::unique_ptr<qs::Folder> Parent() override { return item_->Parent(); }
  std::optional<qs::FileStamp> SaveAs(const std::string& path, qs::SaveType type) override {
    if (!wrapping_.copy) return item_->SaveAs(path, type);
    fs::copy_file(source_, path, fs::copy_options::overwrite_existing);
    return std::nullopt;
  }
  std::int32_t AttachmentCount() override { return item_->AttachmentCount(); }
  std::unique_ptr<qs::Attachment> AttachmentAt(std::int32_t position) override {
    return item_->AttachmentAt(position);
  }

 private:
  std::unique_ptr<qs::MailItem> item_;
  fs::path source_;
  Wrapping wrapping_;
};

class WrappedStore : public qs::MailStore {
 public:
  WrappedStore(std::unique_ptr<qs::MailStore> store, fs::path root, Wrapping wrapping)
      : store_(std::move(store)), root_(std::move(root)), wrapping_(wrapping) {}
  std::unique_ptr<qs::Folder> TopFolder(const std::string& name) override {
    return store_->TopFolder(name);
  }
  std::unique_ptr<qs::Folder> PickFolder() override { return store_->PickFolder(); }
  bool ItemsInParallel() const override { return store_->ItemsInParallel(); }
  std::unique_ptr<qs::MailItem> GetItemFromID(const qs::EntryId& id) override {
    const auto relative = qs::dirstore::DecodeEntryId(id);
    if (!relative) throw qs::MailStoreError("not an identifier of the store");
    return std::make_unique<WrappedItem>(store_->GetItemFromID(id), root_ / *relative, wrapping_);
  }
  std::optional<qs::ItemMark> MarkOf(const qs::EntryId& id) override {
    return wrapping_.unrecorded ? std::nullopt : store_->MarkOf(id);
  }
  // What the store says of its writing, as the program's save asks it: a
  // save again into what the wrapper filled finds the same writer.
  int WriterVersion(qs::SaveType type) const override { return store_->WriterVersion(type); }
  bool LinksPictures() const override { return store_->LinksPictures(); }
  bool Writes(qs::SaveType type) const override { return store_->Writes(type); }

 private:
  std::unique_ptr<qs::MailStore> store_;
  fs::path root_;
  Wrapping wrapping_;
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
  const auto search_once = [&] {
    qs::FoundItems found;
    qs::SearchMailFolder(app, qs::OpenMailStore, "\\\\Bench", found, search);
    return found;
  };
  list = search_once();
  const int rows = list.RowCount();
  std::printf("listed %d messages\n", rows);

  const fs::path out = work / "out";
  const auto fresh = [&](const std::string& name) {
    fs::remove_all(out / name);
    fs::create_directories(out / name);
    return (out / name).string();
  };

  // Timings compared are taken in turns, each of a pair right after the
  // other, and the best of each counts, with the processor time this
  // process spent on it: the machine's noise falls on both alike.
  constexpr int kRounds = 15;
  struct Timing {
    double seconds = 1e9;
    double processor = 0;
    std::vector<double> processors{};  // of every round
    void Take(const std::function<void()>& timed) {
      const double before = ProcessorSeconds();
      const auto start = Clock::now();
      timed();
      const double taken = Seconds(start);
      const double used = ProcessorSeconds() - before;
      processors.push_back(used);
      if (taken < seconds) {
        seconds = taken;
        processor = used;
      }
    }
    // Another process on the machine moves the best time more than the
    // processor time that the middle round used.
    double MedianProcessor() const {
      std::vector<double> sorted = processors;
      std::sort(sorted.begin(), sorted.end());
      return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
  };
  Timing cp;
  for (int round = 0; round < kRounds; ++round) {
    const std::string target = fresh("cp");
    cp.Take([&] {
      const std::string command = "cp -r '" + (root / "Bench").string() + "' '" + target + "'";
      if (std::system(command.c_str()) != 0) std::cerr << "cp failed" << std::endl;
    });
  }
  std::printf("%-5s %7.3f s  %8.0f items/s  %6ld files\n", "cp -r", cp.seconds, rows / cp.seconds,
              CountFiles(out / "cp"));

  const auto opener = [&](Wrapping wrapping) -> qs::MailStoreOpener {
    return [&root, wrapping](qs::Reporter& a) -> std::unique_ptr<qs::MailStore> {
      return std::make_unique<WrappedStore>(qs::OpenMailStore(a), root, wrapping);
    };
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
    // A first save and its unrecorded twin both go through the wrapper; a
    // save again goes to the store itself, as the program's does, unless
    // the store copies.
    const auto save = [&](const std::string& into, bool unrecorded) {
      messages.str({});
      qs::SaveListedItems(app, opener({.copy = run.copy, .unrecorded = unrecorded}), "\\\\Bench", list,
                          into, settings);
    };
    const auto save_again = [&](const std::string& into) {
      qs::SaveListedItems(app, run.copy ? opener({.copy = true}) : qs::MailStoreOpener(qs::OpenMailStore),
                          "\\\\Bench", list, into, settings);
    };
    // The first save of the list, beside the same save recording nothing.
    // The two take turns at the two directories and at going first: a
    // directory's name alone, or which was emptied last, moves a save's time
    // on tmpfs by some per cent.
    const std::string recorded_dir = std::string(run.label);
    const std::string unrecorded_dir = recorded_dir + "-unrecorded";
    Timing first, unrecorded;
    for (int round = 0; round < kRounds; ++round) {
      const bool turn = round % 2 == 1;
      const std::string into = fresh(turn ? unrecorded_dir : recorded_dir);
      const std::string plain = fresh(turn ? recorded_dir : unrecorded_dir);
      if (turn) unrecorded.Take([&] { save(plain, true); });
      first.Take([&] { save(into, false); });
      if (!turn) unrecorded.Take([&] { save(plain, true); });
    }
    const std::string filled = kRounds % 2 == 1 ? recorded_dir : unrecorded_dir;
    std::string said = messages.str();
    if (!said.empty() && said.back() == '\n') said.pop_back();
    std::printf("%-5s %7.3f s  %8.0f items/s  %6ld files  %5.2f x cp -r  processor %.3f s  %s\n",
                run.label, first.seconds, rows / first.seconds, CountFiles(out / filled),
                first.seconds / cp.seconds, first.processor, said.c_str());
    // Each round's two saves ran side by side, under the same load: the
    // middle of their ratios is steadier than the ratio of two middles.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < first.processors.size(); ++i)
      ratios.push_back(first.processors[i] / unrecorded.processors[i]);
    std::sort(ratios.begin(), ratios.end());
    std::printf("%-5s %7.3f s  recording nothing (processor %.3f s): recording costs %+5.1f%%, "
                "in median processor time %+5.1f%%, round by round %+5.1f%% (at most +5%%)\n",
                run.label, unrecorded.seconds, unrecorded.processor, 100 * (first.seconds / unrecorded.seconds - 1),
                100 * (first.MedianProcessor() / unrecorded.MedianProcessor() - 1),
                100 * (ratios[ratios.size() / 2] - 1));
    // Saved again into the directory it filled, beside the search alone.
    Timing again, searched;
    for (int round = 0; round < kRounds; ++round) {
      again.Take([&] { save_again((out / filled).string()); });
      searched.Take([&] { search_once(); });
    }
    std::printf("%-5s %7.3f s  saved again, all unchanged, beside the search's %.3f s: %4.2f x (at most 1.5)\n",
                run.label, again.seconds, searched.seconds, again.seconds / searched.seconds);
  }
  return 0;
}

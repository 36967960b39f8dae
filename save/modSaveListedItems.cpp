#include "save/modSaveListedItems.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <exception>
#include <optional>
#include <vector>
#include <system_error>

#include "mailstore/found_items.h"
#include "platform/application.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/interruption.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/worker_pool.h"
#include "save/frmProgress.h"
#include "save/make_dirs.h"
#include "save/record_file.h"
#include "save/save_item.h"

namespace qs {

namespace {

// The progress window for the length of the run, closed on every path.
class ShownProgress {
 public:
  ShownProgress(Application& app, std::int32_t count) : form_(app) {
    form_.Load();
    form_.SetCaption("Saving ...");
    form_.ProgressBar1.SetRange(0, count);
    form_.Show(false, nullptr);
  }
  ~ShownProgress() { form_.Close(); }
  ShownProgress(const ShownProgress&) = delete;
  ShownProgress& operator=(const ShownProgress&) = delete;
  frmProgress& Form() { return form_; }

 private:
  frmProgress form_;
};

// The save directory with its parents, made before the first item; false
// after the one message that names it and the reason.
bool MakeSaveDirectory(Application& app, const std::string& save_dir) {
  std::string dir = save_dir;
  if (dir.size() > 1 && dir[dir.size() - 2] != ':') dir.pop_back();
  try {
    MakeDirs(dir);
    // Unlike the folders below it, a save directory named without any
    // separator is made too.
    if (!PathExists(dir)) {
      try {
        MakeDirectory(dir);
      } catch (const std::system_error&) {
        if (!IsDirectory(dir)) throw;
      }
    }
    if (!IsDirectory(dir))
      throw std::system_error(std::make_error_code(std::errc::not_a_directory), dir);
    RemoveStaleTemporaries(dir);
    return true;
  } catch (const std::system_error& error) {
    // The system's reason for a drive it does not have is "File not found".
    const std::optional<std::string> drive = MissingDrive(dir);
    app.ReportFailure("The folder \"" + dir + "\" could not be created: " +
                      (drive ? *drive : error.code().message() + "."));
    return false;
  }
}

// Rows are fetched this many ahead per thread of the one being named: enough
// to keep every thread busy while the run's own thread names rows, few
// enough that the mails in flight take little memory.
constexpr std::size_t kRowsPerThread = 16;

// A row between its fetch and the report of its write, with what its tasks
// have done.
struct RowInFlight {
  explicit RowInFlight(ItemSave item_save) : save(std::move(item_save)) {}
  ItemSave save;
  unsigned fetcher = 0;  // the thread that fetched it, which writes it where it can
  std::atomic<bool> fetched{false};
  std::atomic<bool> written{false};
};

// How many rows came to each end.
struct SaveCounts {
  std::int32_t saved = 0;
  std::int32_t unchanged = 0;
  std::int32_t not_saved = 0;
  std::int32_t not_reached = 0;  // left when a stop was asked for
  std::vector<std::string> reasons{};  // why rows were not saved: the first ones, in list order
  std::size_t more_reasons = 0;        // and how many beyond them
};

// After a run's closing message, this many reasons at most are shown where
// the user looks; the diagnostic output has them all.
constexpr std::size_t kReasonsShown = 10;

// While the run goes on, the record is written whole once this many new
// entries wait and this long has passed since it was last written: a run
// killed in the middle loses no more than these, and a short run writes it
// once, at its end, rather than again and again as it grows.
constexpr std::int32_t kRecordEvery = 1000;
constexpr std::chrono::seconds kRecordInterval{2};

// The counts of the rows, those a stop request (from outside, or the
// progress window's Cancel) left out as not reached;
// throws when the run has to stop, after the rows before the one that
// stopped it, with the counts so far in counts.
// Rows are fetched and written on the pool's threads and named, in list
// order, on this one as soon as each is fetched; rows are reported in order
// as they are written.
void SaveRows(SaveRun& run, frmProgress& progress, const FoundItems& list, SaveCounts& counts) {
  const std::int32_t count = list.RowCount();
  const InterruptionWatch interruption;
  std::deque<RowInFlight> rows;  // outlives the pool, whose tasks point into it
  WorkerPool pool(run.store.ItemsInParallel() ? WorkerThreads() : 1);
  // One thread saves row after row, as the store's own thread must.
  const std::size_t ahead = pool.Threads() == 1 ? 1 : kRowsPerThread * pool.Threads();
  std::int32_t next_row = 1;  // the next row to fetch
  std::size_t placed = 0;     // rows at the front of the window named and posted to be written
  std::exception_ptr stop;
  std::optional<std::int32_t> stopped_at;
  bool taking = true;  // false once a row could not be taken: the rows before it are still saved
  bool naming = true;  // false once the run stops: the rows named so far are still written
  std::int32_t waiting = 0;  // entries put into the record since it was last written
  ItemSave::RecordRoom record_room;
  auto record_written = std::chrono::steady_clock::now();
  const auto fetched_next = [&] { return placed < rows.size() && rows[placed].fetched.load(); };
  const auto written_front = [&] { return placed > 0 && rows.front().written.load(); };
  const auto stop_requested = [&] { return interruption.Requested() || progress.StopRequested(); };
  for (;;) {
    while (taking && naming && next_row <= count && rows.size() < ahead) {
      // Row by row, a row is shown before it is fetched; otherwise as it is
      // named, in order, ahead of its write.
      if (ahead == 1) {
        progress.ShowItem(next_row, count);
        if (stop_requested()) {
          stopped_at = next_row;
          naming = false;
          break;
        }
      }
      try {
        RowInFlight& row = rows.emplace_back(ItemSave(list, next_row));
        try {
          pool.Post([&run, &row, &pool] {
            row.save.Fetch(run);
            row.fetcher = pool.ThisThread();
            row.fetched = true;
          });
        } catch (...) {
          rows.pop_back();  // no task will ever fetch it
          throw;
        }
        ++next_row;
      } catch (...) {
        stop = std::current_exception();
        taking = false;
      }
    }
    // Rows fetched but not to be named are dropped once their fetch is over.
    while (!naming && placed < rows.size()) {
      RowInFlight& row = rows.back();
      pool.WaitUntil([&] { return row.fetched.load(); });
      rows.pop_back();
    }
    if (rows.empty()) break;
    pool.WaitUntil([&] { return fetched_next() || written_front(); });
    if (fetched_next()) {
      RowInFlight& row = rows[placed];
      if (ahead > 1) progress.ShowItem(row.save.Row(), count);
      if (stop_requested()) {
        stopped_at = row.save.Row();
        naming = false;
        continue;
      }
      try {
        row.save.Place(run);
      } catch (...) {
        stop = std::current_exception();  // a row before the one whose name failed
        naming = false;
        continue;
      }
      // A row with nothing to write (unchanged, or not fetched) is done here,
      // without a trip through the pool.
      if (row.save.HasWrites()) {
        pool.Post(
            [&run, &row] {
              row.save.Write(run);
              row.written = true;
            },
            row.fetcher);
      } else {
        row.written = true;
      }
      ++placed;
    }
    for (; written_front(); --placed) {
      ItemSave& done = rows.front().save;
      for (const std::string& line : done.Log()) run.report.Debug(line);
      switch (done.Outcome()) {
        case SaveOutcome::Saved: ++counts.saved; break;
        case SaveOutcome::Unchanged: ++counts.unchanged; break;
        case SaveOutcome::NotSaved:
          ++counts.not_saved;
          for (const std::string& reason : done.Log()) {
            if (counts.reasons.size() < kReasonsShown) counts.reasons.push_back(reason);
            else ++counts.more_reasons;
          }
          break;
      }
      if (done.PutInto(run.record, run, record_room)) {
        ++run.recorded;
        if (++waiting >= kRecordEvery && std::chrono::steady_clock::now() - record_written >= kRecordInterval) {
          WriteSaveRecord(run.save_dir, run.previous, run.record);
          waiting = 0;
          record_written = std::chrono::steady_clock::now();
        }
      }
      rows.pop_front();
    }
  }
  if (stop) std::rethrow_exception(stop);
  if (stopped_at) {
    run.report.Debug("save run stopped by request before row " + std::to_string(*stopped_at));
    counts.not_reached = count - *stopped_at + 1;
  }
}

SaveShape ShapeOf(const SaveOptions& settings, const FoundItems& list, const std::string& mail_folder) {
  return {.format = AsciiLower(settings.fn_output),
          .name_format = settings.fn_format,
          .date_format = list.Dates().format,
          .clip_address = settings.clip_address,
          .clip_subject = settings.clip_subject,
          .subfolders = settings.use_fn_folder,
          .mail_folder = settings.use_fn_folder ? mail_folder : std::string()};
}

// The reasons kept, then how many more there were.
void ShowReasons(Application& app, const SaveCounts& counts) {
  for (const std::string& reason : counts.reasons) app.Summary(reason, true);
  if (counts.more_reasons > 0) app.Summary("and " + std::to_string(counts.more_reasons) + " more", true);
}

// The record's notes of the run: what its search passed over and its
// reasons, as ShowReasons shows them.
RunNotes NotesOf(const FoundItems& list, const SaveCounts& counts) {
  RunNotes notes{.passed_over = list.PassedOver(), .reasons = counts.reasons};
  if (counts.more_reasons > 0) notes.reasons.push_back("and " + std::to_string(counts.more_reasons) + " more");
  return notes;
}

std::string SummaryLine(std::int32_t listed, const SaveCounts& counts) {
  return std::to_string(listed) + " listed: " + std::to_string(counts.saved) + " saved, " +
         std::to_string(counts.unchanged) + " unchanged, " + std::to_string(counts.not_saved) +
         " not saved" + (counts.not_reached > 0 ? ", " + std::to_string(counts.not_reached) + " not reached" : "");
}

}  // namespace

void SaveListedItems(Application& app, const MailStoreOpener& open_store,
                     const std::string& mail_folder, const FoundItems& list, std::string save_dir,
                     const SaveOptions& settings) {
  if (mail_folder.empty()) {
    app.MsgBox("The 'Mail Folder' box is blank");
    return;
  }
  if (save_dir.empty()) {
    app.MsgBox("The 'Save to' box is blank");
    return;
  }
  if (list.RowCount() == 0) {
    app.MsgBox("There are no emails in the list.");
    return;
  }
  if (save_dir.back() != PathSeparator()) save_dir += PathSeparator();

  SaveCounts counts;
  const std::int32_t listed = list.RowCount();
  {
    // Shown once the store is open and the directory made, and closed only
    // after a message that stops the run.
    std::optional<ShownProgress> progress;
    std::optional<FileLock> lock;
    SaveRecord previous;
    SaveRecord record;
    try {
      const std::unique_ptr<MailStore> store = open_store(app);
      if (!store) throw MailStoreError("no mail store");
      if (!MakeSaveDirectory(app, save_dir)) return;
      // One run at a time in one directory: the second waits for the first.
      LockSaveDirectory(app, save_dir, lock);
      previous = ReadSaveRecord(app, save_dir);
      record.Reserve(static_cast<std::size_t>(listed));
      progress.emplace(app, listed);
      const SaveShape shape = ShapeOf(settings, list, mail_folder);
      // A format the store cannot write is as unknown to the run as a name of none.
      const OutputFormat* output = OutputFormatNamed(settings.fn_output);
      if (output && !store->Writes(output->type)) output = nullptr;
      const SavedFileStamps previous_files(save_dir);
      SaveRun run{.report = app,
                  .store = *store,
                  .settings = settings,
                  .mail_folder = mail_folder,
                  .save_dir = save_dir,
                  .shape = shape,
                  .shape_text = ShapeText(shape),
                  .output = output,
                  .writer = store->WriterVersion(output ? output->type : SaveType::Text),
                  .previous = previous,
                  .record = record,
                  .previous_files = previous_files};
      // A run that found everything as it was, notes and all, writes
      // nothing at all; the rows done before one that stopped the run stay
      // recorded.
      const auto write_added = [&] {
        record.SetNotes(NotesOf(list, counts));
        if (run.recorded > 0 || record.Notes() != previous.Notes()) WriteSaveRecord(save_dir, previous, record);
      };
      try {
        SaveRows(run, progress->Form(), list, counts);
      } catch (...) {
        write_added();
        throw;
      }
      write_added();
    } catch (const std::exception& error) {
      app.Debug(std::string("save run stopped: ") + error.what());
      app.ReportFailure("Error saving email.");
      counts.not_saved = listed - counts.saved - counts.unchanged;
      app.Summary(SummaryLine(listed, counts), true);
      ShowReasons(app, counts);
      app.Summary(std::string("the save stopped: ") + error.what(), true);
      return;
    }
  }
  // A stopped run tells where it stopped wherever its output goes.
  const bool stopped = counts.not_reached > 0;
  if (stopped)
    app.ReportStop("Stopped after " + std::to_string(listed - counts.not_reached) + " of " + std::to_string(listed) +
                   ".");
  if (counts.not_saved > 0)
    app.ReportFailure(std::to_string(counts.not_saved) + " of " + std::to_string(listed) +
                      " emails could not be saved.");
  app.Summary(SummaryLine(listed, counts), counts.not_saved > 0 || stopped);
  ShowReasons(app, counts);
}

}  // namespace qs

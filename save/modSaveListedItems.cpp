#include "save/modSaveListedItems.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <optional>
#include <vector>
#include <system_error>

#include "platform/application.h"
#include "platform/file_system.h"
#include "mailstore/found_items.h"
#include "platform/interruption.h"
#include "platform/worker_pool.h"
#include "platform/system.h"
#include "save/frmProgress.h"
#include "save/make_dirs.h"
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
  ~ShownProgress() { form_.Unload(); }
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
    app.ReportFailure("The folder \"" + dir + "\" could not be created: " +
                      error.code().message() + ".");
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

// The rows not saved whole, those a stop request left out included; throws
// when the run has to stop, after the rows before the one that stopped it.
// Rows are fetched and written on the pool's threads and named, in list
// order, on this one as soon as each is fetched; rows are reported in order
// as they are written.
std::int32_t SaveRows(SaveRun& run, frmProgress& progress, const FoundItems& list) {
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
  std::int32_t failed = 0;
  bool taking = true;  // false once a row could not be taken: the rows before it are still saved
  bool naming = true;  // false once the run stops: the rows named so far are still written
  const auto fetched_next = [&] { return placed < rows.size() && rows[placed].fetched.load(); };
  const auto written_front = [&] { return placed > 0 && rows.front().written.load(); };
  for (;;) {
    while (taking && naming && next_row <= count && rows.size() < ahead) {
      try {
        RowInFlight& row = rows.emplace_back(ItemSave(run, list, next_row));
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
      if (interruption.Requested()) {
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
      // Row by row, a row is shown while it is written; otherwise as the
      // rows are done, in order.
      if (ahead == 1) progress.ShowItem(row.save.Row(), count);
      pool.Post(
          [&row] {
            row.save.Write();
            row.written = true;
          },
          row.fetcher);
      ++placed;
    }
    for (; written_front(); --placed) {
      const ItemSave& done = rows.front().save;
      for (const std::string& line : done.Log()) run.app.Debug(line);
      if (ahead > 1) progress.ShowItem(done.Row(), count);
      if (!done.Whole()) ++failed;
      rows.pop_front();
    }
  }
  if (stop) std::rethrow_exception(stop);
  if (stopped_at) {
    run.app.Debug("save run stopped by request before row " + std::to_string(*stopped_at));
    return failed + count - *stopped_at + 1;
  }
  return failed;
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

  std::int32_t failed = 0;
  {
    // Shown once the store is open and the directory made, and closed only
    // after a message that stops the run.
    std::optional<ShownProgress> progress;
    try {
      const std::unique_ptr<MailStore> store = open_store(app);
      if (!store) throw MailStoreError("no mail store");
      if (!MakeSaveDirectory(app, save_dir)) return;
      progress.emplace(app, list.RowCount());
      SaveRun run{app, *store, settings, mail_folder, save_dir, {}, {save_dir}, {}, {}, {}};
      failed = SaveRows(run, progress->Form(), list);
    } catch (const std::exception& error) {
      app.Debug(std::string("save run stopped: ") + error.what());
      app.ReportFailure("Error saving email.");
      return;
    }
  }
  if (failed > 0)
    app.ReportFailure(std::to_string(failed) + " of " + std::to_string(list.RowCount()) +
                      " emails could not be saved.");
}

}  // namespace qs

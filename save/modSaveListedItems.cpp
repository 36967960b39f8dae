#include "save/modSaveListedItems.h"

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

// Rows are taken this many at a time per thread: enough to keep every thread
// busy between two steps that run on the run's own thread, few enough that
// the mails in flight take little memory.
constexpr std::size_t kRowsPerThread = 16;

// The rows not saved whole, those a stop request left out included; throws
// when the run has to stop, after the rows before the one that stopped it.
std::int32_t SaveRows(SaveRun& run, frmProgress& progress, const FoundItems& list) {
  const std::int32_t count = list.RowCount();
  const InterruptionWatch interruption;
  WorkerPool pool(run.store.ItemsInParallel() ? WorkerThreads() : 1);
  // One thread saves row after row, as the store's own thread must.
  const std::size_t batch_rows = pool.Threads() == 1 ? 1 : kRowsPerThread * pool.Threads();
  std::int32_t failed = 0;
  for (std::int32_t first = 1; first <= count;) {
    std::vector<ItemSave> batch;
    std::exception_ptr stop;
    for (std::int32_t row = first; row <= count && batch.size() < batch_rows; ++row) {
      try {
        batch.emplace_back(run, list, row);
      } catch (...) {
        stop = std::current_exception();
        break;
      }
    }
    pool.ForEach(batch.size(), [&](std::size_t i) { batch[i].Fetch(run); });
    std::size_t placed = 0;
    std::optional<std::int32_t> stopped_at;
    for (; placed < batch.size(); ++placed) {
      if (interruption.Requested()) {
        stopped_at = batch[placed].Row();
        break;
      }
      try {
        batch[placed].Place(run);
      } catch (...) {
        stop = std::current_exception();  // a row before the one whose name failed
        break;
      }
    }
    // Row by row, a row is shown while it is written; otherwise as the rows
    // of a batch are done, in order.
    if (batch_rows == 1 && placed == 1) progress.ShowItem(batch[0].Row(), count);
    pool.ForEach(placed, [&](std::size_t i) { batch[i].Write(); });
    for (std::size_t i = 0; i < placed; ++i) {
      for (const std::string& line : batch[i].Log()) run.app.Debug(line);
      if (batch_rows > 1) progress.ShowItem(batch[i].Row(), count);
      if (!batch[i].Whole()) ++failed;
    }
    if (stop) std::rethrow_exception(stop);
    if (stopped_at) {
      run.app.Debug("save run stopped by request before row " + std::to_string(*stopped_at));
      return failed + count - *stopped_at + 1;
    }
    first += static_cast<std::int32_t>(batch.size());
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
      SaveRun run{app, *store, settings, mail_folder, save_dir, {}, {save_dir}};
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

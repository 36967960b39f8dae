#include "save/modSaveListedItems.h"

#include <exception>
#include <optional>
#include <system_error>

#include "platform/application.h"
#include "platform/file_system.h"
#include "mailstore/found_items.h"
#include "platform/interruption.h"
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

// The rows not saved whole, those a stop request left out included; throws
// when the run has to stop.
std::int32_t SaveRows(Application& app, MailStore& store, frmProgress& progress,
                      const std::string& mail_folder, const FoundItems& list,
                      const std::string& save_dir, const SaveOptions& settings) {
  const std::int32_t count = list.RowCount();
  const InterruptionWatch interruption;
  SaveRun run{app, store, settings, {}, {}};
  run.swept.insert(save_dir);
  std::int32_t failed = 0;
  for (std::int32_t row = 1; row <= count; ++row) {
    if (interruption.Requested()) {
      app.Debug("save run stopped by request before row " + std::to_string(row));
      return failed + count - row + 1;
    }
    progress.ShowItem(row, count);
    if (!SaveItem(run, mail_folder, list, row, save_dir)) ++failed;
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
      failed = SaveRows(app, *store, progress->Form(), mail_folder, list, save_dir, settings);
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

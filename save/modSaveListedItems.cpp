#include "save/modSaveListedItems.h"

#include <exception>

#include "platform/application.h"
#include "platform/list_view.h"
#include "platform/system.h"
#include "save/frmProgress.h"
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

// The rows not saved whole; throws when the run has to stop.
std::int32_t SaveRows(Application& app, const MailStoreOpener& open_store,
                      const std::string& mail_folder, const ListView& list,
                      const std::string& save_dir, const SaveSettings& settings) {
  const std::int32_t count = list.RowCount();
  const std::unique_ptr<MailStore> store = open_store(app);
  if (!store) throw MailStoreError("no mail store");
  ShownProgress progress(app, count);
  SaveRun run{app, *store, settings, {}};
  std::int32_t failed = 0;
  for (std::int32_t row = 1; row <= count; ++row) {
    progress.Form().ShowItem(row, count);
    if (!SaveItem(run, mail_folder, list, row, save_dir)) ++failed;
  }
  return failed;
}

}  // namespace

void SaveListedItems(Application& app, const MailStoreOpener& open_store,
                     const std::string& mail_folder, const ListView& list, std::string save_dir,
                     const SaveSettings& settings) {
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
  try {
    failed = SaveRows(app, open_store, mail_folder, list, save_dir, settings);
  } catch (const std::exception& error) {
    app.Debug(std::string("save run stopped: ") + error.what());
    app.ReportFailure("Error saving email.");
    return;
  }
  if (failed > 0)
    app.ReportFailure(std::to_string(failed) + " of " + std::to_string(list.RowCount()) +
                      " emails could not be saved.");
}

}  // namespace qs

#pragma once
// The program's one working window: the Mail Folder box with its Search
// command, the list of found items, the "Save to:" box with its Save command,
// and the menus. The list shows the found items of the last search, which
// the window keeps.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "app/access_helper.h"
#include "layout/clsLayout.h"
#include "mailstore/found_items.h"
#include "mailstore/open_mail_store.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/list_view.h"
#include "save/modListToText.h"

namespace qs {

class frmAbout;
class frmOptions;

class frmMain : public Form {
 public:
  explicit frmMain(Application& app);
  ~frmMain() override;

  Label& Label1;
  TextBox& txtMailFolder;
  CommandButton& cmdGetMailFolder;
  CommandButton& cmdSearch;
  Label& Label3;
  ListView& ListView1;
  Label& Label2;
  TextBox& txtDir;
  CommandButton& cmdBrowse;
  CommandButton& cmdSave;

  MenuItem& mnuFile;
  MenuItem& mnuFileExport;
  MenuItem& mnuFileExit;
  MenuItem& mnuOptions;
  MenuItem& mnuHelp;
  MenuItem& mnuHelpContents;
  MenuItem& mnuHelp1;
  MenuItem& mnuHelpFAQ;
  MenuItem& mnuHelpSupport;
  MenuItem& mnuHelp2;
  MenuItem& mnuHelpAbout;

  // The debug level handed over by start-up; positive levels write
  // diagnostic lines.
  void SetDebugMode(std::int16_t level);

  // Runs a command by name ("search", "save" or "export", any letter case)
  // as if the user had chosen it. pParameter is accepted and not used.
  void Automate(std::string_view pCmd, std::string_view pParameter = {});

  const clsLayout* Layout() const { return mLayout.get(); }
  // The options dialog, loaded with this window; it holds the settings.
  frmOptions& Options() const { return *options_; }
  const AccessHelper& Access() const { return access_; }
  // The found items of the last search, in list order.
  const FoundItems& Found() const { return found_; }
  // How the commands attach to the mail store; tests put a fake store here.
  void SetMailStoreOpener(MailStoreOpener open) { open_store_ = std::move(open); }
  // Where the export writes and how it shows the file; tests record it.
  void SetExportTarget(ExportTarget target) { export_target_ = std::move(target); }

 protected:
  void OnLoad() override;
  void OnResize() override;
  void OnUnload(bool& cancel) override;

 private:
  void InitWindow();
  void SetupListColumns();
  // Runs one command with the busy pointer and its diagnostic lines, unless
  // another one runs.
  template <class Work>
  void RunCommand(std::string_view name, bool busy, Work work);

  void Search();
  void Save();
  void Export();
  void PickMailFolder();
  void PickDirectory();
  void ShowOptions();
  void ShowHelpContents();
  void ShowAbout();

  std::unique_ptr<clsLayout> mLayout;
  FoundItems found_;
  AccessHelper access_;
  // The program's store, with the options the settings file holds when a
  // command starts.
  MailStoreOpener open_store_;
  std::optional<ExportTarget> export_target_;  // else the default for the settings file in use
  std::unique_ptr<frmOptions> options_;
  std::unique_ptr<frmAbout> about_;
};

}  // namespace qs

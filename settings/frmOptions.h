#pragma once
// The options dialog, which is also the settings store: its controls hold the
// current value of every option, and the rest of the program reads an option
// from its control at the moment of use. It is loaded hidden at start-up and
// stays loaded until the program ends; OK writes the controls to the settings
// file, Cancel reads them back from it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "settings/clsINI.h"
#include "settings/option_values.h"

namespace qs {

class Application;

class frmOptions : public Form {
 public:
  explicit frmOptions(Application& app);

  // Reads all fifteen options from the settings file into the controls, and
  // the one without a control ("AnsiCodePage"); missing values take their
  // defaults. Loads the dialog first if needed. A file that is there but
  // cannot be read gives the defaults too, after a failure message naming
  // it and the reason (once for the same file and reason).
  void LoadSettings();
  // Set while the settings file in use is there but could not be read: an
  // unattended run must not save with defaults the user did not choose.
  const std::optional<std::string>& SettingsUnreadable() const { return unreadable_; }
  // From now on reads and writes pINI instead, and loads it.
  void UseCustomINI(const std::string& pINI);
  // Puts the run's own options into the controls, over what was read; the
  // settings file is not written.
  void Override(const RunOverrides& overrides);
  // What the commands read, from the controls as they are now.
  SearchOptions CurrentSearchOptions() const;
  SaveOptions CurrentSaveOptions() const;
  ExportOptions CurrentExportOptions() const;
  // As last read from the settings file: the dialog never writes it.
  StoreOptions CurrentStoreOptions() const { return store_options_; }

  // The settings file in use (empty before the dialog is loaded).
  std::string SettingsFile() const { return mINI ? mINI->FileName() : std::string(); }

  // Unloads the dialog for good, as the end of the program does. Closing the
  // dialog by its window frame only hides it and discards the edits.
  void UnloadForExit();

  // "Saved Mail Filename"
  Frame& Frame3;
  CheckBox& ckFnDate;
  CheckBox& ckFnFrom;
  CheckBox& ckFnSubject;
  CheckBox& ckFnFolder;
  Label& lblFn;
  TextBox& txtFn;
  Label& lblClipAddress;
  ComboBox& ClipAddress;
  Label& lblClipSubject;
  ComboBox& ClipSubject;
  Label& lblFnOutput;
  ComboBox& cboFnOutput;
  // "Exported Text"
  Frame& Frame1;
  CheckBox& UseDate;
  CheckBox& UseFrom;
  CheckBox& UseSubject;
  Label& lblTextFormat;
  TextBox& TextFormat;
  // "Select Email"
  Frame& Frame4;
  Label& lblSince;
  TextBox& txtSince;
  Label& lblBefore;
  TextBox& txtBefore;
  // "Date Format"
  Frame& Frame2;
  ComboBox& DateFormat;

  CommandButton& cmdOK;
  CommandButton& cmdCancel;

 protected:
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  struct Option;
  std::vector<Option> Options();

  void SaveSettings();
  void BuildTextFormat();
  void BuildFilenameFormat();
  void OK();
  void Cancel();

  std::unique_ptr<clsINI> mINI;
  StoreOptions store_options_;
  std::optional<std::string> unreadable_;  // the message, while the file cannot be read
  bool exiting_ = false;
};

}  // namespace qs

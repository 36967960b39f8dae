#include "app/frmMain.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/frmAbout.h"
#include "app/modBrowseTo.h"
#include "app/product.h"
#include "mailstore/folder_path.h"
#include "mailstore/search.h"
#include "platform/application.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/modGetDir.h"
#include "save/modSaveListedItems.h"
#include "settings/frmOptions.h"

namespace qs {

namespace {

// Starts the access helper with its allow text, and with its disallow text
// again however the command ends.
class AccessGrant {
 public:
  AccessGrant(const AccessHelper& helper, const Application& app) : helper_(helper), app_(app) {
    helper_.RunAccessAllow(app_);
  }
  ~AccessGrant() { helper_.RunAccessDisallow(app_); }
  AccessGrant(const AccessGrant&) = delete;
  AccessGrant& operator=(const AccessGrant&) = delete;

 private:
  const AccessHelper& helper_;
  const Application& app_;
};

}  // namespace

frmMain::frmMain(Application& app)
    : Form(app, "frmMain", kProductName, 8310, 3750),
      Label1(Add<Label>("Label1", "&Mail Folder")),
      txtMailFolder(Add<TextBox>("txtMailFolder")),
      cmdGetMailFolder(Add<CommandButton>("cmdGetMailFolder", "...")),
      cmdSearch(Add<CommandButton>("cmdSearch", "&Search")),
      Label3(Add<Label>("Label3", "Contents")),
      ListView1(Add<ListView>("ListView1")),
      Label2(Add<Label>("Label2", "Save &to:")),
      txtDir(Add<TextBox>("txtDir")),
      cmdBrowse(Add<CommandButton>("cmdBrowse", "...")),
      cmdSave(Add<CommandButton>("cmdSave", "Sa&ve")),
      mnuFile(Add<MenuItem>("mnuFile", "&File")),
      mnuFileExport(Add<MenuItem>("mnuFileExport", "&Export to Text File", &mnuFile)),
      mnuFileExit(Add<MenuItem>("mnuFileExit", "E&xit", &mnuFile)),
      mnuOptions(Add<MenuItem>("mnuOptions", "&Options")),
      mnuHelp(Add<MenuItem>("mnuHelp", "&Help")),
      mnuHelpContents(Add<MenuItem>("mnuHelpContents", "&Contents", &mnuHelp, "F1")),
      mnuHelp1(Add<MenuItem>("mnuHelp1", "-", &mnuHelp)),
      mnuHelpFAQ(Add<MenuItem>("mnuHelpFAQ", "&FAQ", &mnuHelp)),
      mnuHelpSupport(Add<MenuItem>("mnuHelpSupport", "&Support", &mnuHelp)),
      mnuHelp2(Add<MenuItem>("mnuHelp2", "-", &mnuHelp)),
      mnuHelpAbout(Add<MenuItem>("mnuHelpAbout", "&About", &mnuHelp)),
      open_store_([this](Reporter& a) { return OpenMailStoreWith(a, options_->CurrentStoreOptions()); }),
      options_(std::make_unique<frmOptions>(app)) {
  SetSizable(true);
  SetFont({"Courier New", 8.25, Font::Family::Monospace});
  struct Place {
    Control& control;
    int left, top, width, height, tab;
    const char* tag;
  };
  // A label's access key takes the keyboard to the control after it in tab
  // order: each label comes just before its box.
  const Place places[] = {
      {Label1, 120, 240, 4095, 255, 0, ""},
      {txtMailFolder, 120, 480, 6375, 375, 1, "W=1"},
      {cmdGetMailFolder, 6600, 480, 495, 375, 2, "X=1"},
      {cmdSearch, 7200, 480, 975, 375, 3, "X=1"},
      {Label3, 120, 960, 2655, 375, 9, ""},
      {ListView1, 120, 1200, 8055, 1695, 8, "W=1 H=1"},
      {Label2, 120, 3000, 8055, 375, 4, "Y=1"},
      {txtDir, 120, 3240, 6375, 375, 5, "Y=1 W=1"},
      {cmdBrowse, 6600, 3240, 495, 375, 6, "X=1 Y=1"},
      {cmdSave, 7200, 3240, 975, 375, 7, "X=1 Y=1"},
  };
  for (const Place& place : places) {
    place.control.Move(place.left, place.top, place.width, place.height);
    place.control.SetTabIndex(place.tab);
    place.control.SetTag(place.tag);
  }

  txtMailFolder.SetEnterButton(&cmdSearch);
  cmdSearch.onClick = [this] { RunCommand("Search", true, [this] { Search(); }); };
  cmdSave.onClick = [this] { RunCommand("Save", true, [this] { Save(); }); };
  mnuFileExport.onClick = [this] { RunCommand("Export", true, [this] { Export(); }); };
  cmdGetMailFolder.onClick = [this] { RunCommand("Pick mail folder", false, [this] { PickMailFolder(); }); };
  cmdBrowse.onClick = [this] { RunCommand("Pick directory", false, [this] { PickDirectory(); }); };
  mnuOptions.onClick = [this] { ShowOptions(); };
  mnuFileExit.onClick = [this] { Unload(); };
  mnuHelpContents.onClick = [this] { ShowHelpContents(); };
  mnuHelpFAQ.onClick = [] { BrowseTo(kFaqPage); };
  mnuHelpSupport.onClick = [] { BrowseTo(kSupportPage); };
  mnuHelpAbout.onClick = [this] { ShowAbout(); };
  found_.onChange = [this] { ListView1.RowsChanged(); };
  ListView1.ShowRows(found_);
}

frmMain::~frmMain() = default;

void frmMain::SetDebugMode(std::int16_t level) {
  App().SetDebugLevel(level);
}

void frmMain::OnLoad() {
  App().SetTitle(kProductName);
  SetCaption(kProductName);
  mLayout = std::make_unique<clsLayout>();
  mLayout->SetLayout(*this);
  InitWindow();
}

void frmMain::InitWindow() {
  access_ = AccessHelper::FromRegistry();
  options_->Load();
  SetupListColumns();
}

void frmMain::SetupListColumns() {
  for (const FoundColumn& column : kFoundColumns) ListView1.AddColumn(column.header);
  options_->LoadSettings();
}

void frmMain::OnResize() {
  if (mLayout) mLayout->RedrawLayout();
}

void frmMain::OnUnload(bool& cancel) {
  if (about_) about_->Unload();
  options_->UnloadForExit();
  if (!cancel) mLayout.reset();
}

template <class Work>
void frmMain::RunCommand(std::string_view name, bool busy, Work work) {
  // The window system keeps the user from the other commands meanwhile; a
  // click that reaches one all the same starts nothing.
  if (App().CommandRunning()) {
    App().Debug("not begun while another command runs: " + std::string(name));
    return;
  }
  const CommandScope command(App());
  App().Debug("begin " + std::string(name));
  if (busy) {
    BusyPointer pointer(App());
    work();
  } else {
    work();
  }
  App().Debug("end " + std::string(name));
}

void frmMain::Automate(std::string_view pCmd, std::string_view /*pParameter*/) {
  const std::string command = AsciiLower(pCmd);
  if (command == "search")
    cmdSearch.Click();
  else if (command == "save")
    cmdSave.Click();
  else if (command == "export")
    mnuFileExport.Click();
  else
    App().MsgBox("frmMain.Automate: unrecognized command.");
}

void frmMain::Search() {
  AccessGrant access(access_, App());
  SearchMailFolder(App(), open_store_, txtMailFolder.Text(), found_,
                   options_->CurrentSearchOptions());
}

void frmMain::Save() {
  AccessGrant access(access_, App());
  SaveListedItems(App(), open_store_, txtMailFolder.Text(), found_, txtDir.Text(),
                  options_->CurrentSaveOptions());
}

void frmMain::Export() {
  const ExportOptions options = options_->CurrentExportOptions();
  ListToText(App(), found_, options, export_target_ ? *export_target_ : DefaultExportTarget(options.settings_file));
}
void frmMain::PickMailFolder() {
  // A chooser closed without a choice leaves the box as it was.
  if (auto path = GetMailFolder(App(), open_store_)) txtMailFolder.SetText(std::move(*path));
}
void frmMain::PickDirectory() {
  // A cancelled dialog empties the box; one that could not be shown keeps it.
  if (auto dir = GetDir(App(), "Choose Directory")) txtDir.SetText(std::move(*dir));
}
void frmMain::ShowOptions() { options_->Show(false, nullptr); }

void frmMain::ShowHelpContents() {
  const char sep = PathSeparator();
  BrowseTo(ProgramDataDirectory() + sep + "Help" + sep + "index.html");
}

void frmMain::ShowAbout() {
  about_ = std::make_unique<frmAbout>(App());
  about_->Show(true, this);
  about_.reset();
}

}  // namespace qs

#include "settings/frmOptions.h"

#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/settings_file.h"
#include "settings/check_state_text.h"
#include "settings/output_choices.h"

namespace qs {

namespace {

constexpr const char* kSection = "Options";

// Places a control (left, top, width, height in twips) inside a frame, or on
// the window when frame is null, with its keyboard order.
template <class T>
T& Place(T& control, Frame* frame, int left, int top, int width, int height, int tab = -1) {
  control.SetContainer(frame);
  control.Move(left, top, width, height);
  control.SetTabIndex(tab);
  return control;
}

ComboBox& WithItems(ComboBox& box, std::initializer_list<const char*> items) {
  for (const char* item : items) box.AddItem(item);
  return box;
}

ComboBox& WithItems(ComboBox& box, const std::vector<std::string>& items) {
  for (const std::string& item : items) box.AddItem(item);
  return box;
}

constexpr int kBox = 255;        // the height of a check box and of a label
// A check box with its caption beside it: the box and the gap after it (240),
// and the room the caption had as a label of its own.
constexpr int kShort = 240 + 495;
constexpr int kLong = 240 + 735;
constexpr int kComboHeight = 315;

}  // namespace

frmOptions::frmOptions(Application& app)
    : Form(app, "frmOptions", "Options", 7665, 4170),
      Frame3(Place(Add<Frame>("Frame3", "Saved Mail Filename"), nullptr, 120, 120, 7455, 1455)),
      ckFnDate(Place(Add<CheckBox>("ckFnDate", "Date"), &Frame3, 120, 360, kShort, kBox, 0)),
      ckFnFrom(Place(Add<CheckBox>("ckFnFrom", "From"), &Frame3, 960, 360, kShort, kBox, 1)),
      ckFnSubject(
          Place(Add<CheckBox>("ckFnSubject", "Subject"), &Frame3, 1800, 360, kLong, kBox, 2)),
      ckFnFolder(Place(Add<CheckBox>("ckFnFolder", "Folder"), &Frame3, 3360, 360, kLong, kBox, 3)),
      lblFn(Place(Add<Label>("lblFn", "Custom Filename Format"), &Frame3, 120, 720, 4455, kBox)),
      txtFn(Place(Add<TextBox>("txtFn"), &Frame3, 120, 960, 4455, 285, 4)),
      lblClipAddress(Place(Add<Label>("lblClipAddress", "Clip Addresses to"), &Frame3, 5160, 150,
                           1305, kBox)),
      ClipAddress(Place(WithItems(Add<ComboBox>("ClipAddress"),
                                  {"20", "25", "30", "35", "40", "50", "60"}),
                        &Frame3, 6480, 150, 855, kComboHeight, 5)),
      lblClipSubject(Place(Add<Label>("lblClipSubject", "Clip Subject to"), &Frame3, 5160, 555,
                           1305, kBox)),
      ClipSubject(Place(WithItems(Add<ComboBox>("ClipSubject"), {"20", "30", "40", "50", "70", "90"}),
                        &Frame3, 6480, 555, 855, kComboHeight, 6)),
      lblFnOutput(Place(Add<Label>("lblFnOutput", "Output"), &Frame3, 5160, 960, 1305, kBox)),
      cboFnOutput(Place(WithItems(Add<ComboBox>("cboFnOutput"), OfferedOutputFormats()), &Frame3,
                        6480, 960, 855, kComboHeight, 7)),
      Frame1(Place(Add<Frame>("Frame1", "Exported Text"), nullptr, 120, 1680, 4695, 1455)),
      UseDate(Place(Add<CheckBox>("UseDate", "Date"), &Frame1, 120, 360, kShort, kBox, 8)),
      UseFrom(Place(Add<CheckBox>("UseFrom", "From"), &Frame1, 960, 360, kShort, kBox, 9)),
      UseSubject(
          Place(Add<CheckBox>("UseSubject", "Subject"), &Frame1, 1800, 360, kLong, kBox, 10)),
      lblTextFormat(Place(Add<Label>("lblTextFormat", "Custom Textline Format"), &Frame1, 120, 720,
                          4455, kBox)),
      TextFormat(Place(Add<TextBox>("TextFormat"), &Frame1, 120, 960, 4455, 285, 11)),
      Frame4(Place(Add<Frame>("Frame4", "Select Email"), nullptr, 4920, 1680, 2655, 1455)),
      lblSince(Place(Add<Label>("lblSince", "Since"), &Frame4, 120, 360, 555, kBox)),
      txtSince(Place(Add<TextBox>("txtSince"), &Frame4, 720, 360, 1815, 285, 12)),
      lblBefore(Place(Add<Label>("lblBefore", "Before"), &Frame4, 120, 960, 555, kBox)),
      txtBefore(Place(Add<TextBox>("txtBefore"), &Frame4, 720, 960, 1815, 285, 13)),
      Frame2(Place(Add<Frame>("Frame2", "Date Format"), nullptr, 120, 3240, 4695, 855)),
      DateFormat(Place(WithItems(Add<ComboBox>("DateFormat"),
                                 {"dd/mm/yyyy HH:MM:SS", "mm/dd/yyyy HH:MM:SS", "yyyymmdd HHMMSS",
                                  "dd Mmm yy HH:MM"}),
                       &Frame2, 120, 360, 2175, kComboHeight, 14)),
      cmdOK(Place(Add<CommandButton>("cmdOK", "OK"), nullptr, 5520, 3720, 975, 375, 15)),
      cmdCancel(Place(Add<CommandButton>("cmdCancel", "Cancel"), nullptr, 6600, 3720, 975, 375, 16)) {
  cboFnOutput.SetText("MSG");  // the window's own text before any settings are read
  // Open beside the main window, not over the list it edits the search of.
  SetStartPosition(StartPosition::BesideOwner);
  cmdOK.SetDefault(true);
  cmdCancel.SetCancel(true);
  for (CheckBox* box : {&UseDate, &UseFrom, &UseSubject}) box->onClick = [this] { BuildTextFormat(); };
  for (CheckBox* box : {&ckFnDate, &ckFnFrom, &ckFnSubject})
    box->onClick = [this] { BuildFilenameFormat(); };
  cmdOK.onClick = [this] { OK(); };
  cmdCancel.onClick = [this] { Cancel(); };
}

void frmOptions::OnLoad() {
  mINI = std::make_unique<clsINI>(App());
  // Chosen once: the file read is the file written for the whole run.
  mINI->SetFileName(DefaultSettingsFile("Quillstow.ini"));
}

void frmOptions::OnUnload(bool& cancel) {
  if (!exiting_) {
    // Closed by its frame while the program goes on: the options must keep
    // usable values, so this is Cancel rather than an unload.
    cancel = true;
    Cancel();
    return;
  }
  mINI.reset();
}

void frmOptions::UnloadForExit() {
  exiting_ = true;
  Unload();
  exiting_ = false;
}

// Every option: its key in the settings file, the control that holds it,
// how its stored text is read, and its default. The check boxes come first:
// each change of state rebuilds its format text, which the stored formats,
// loaded after them, then replace.
struct frmOptions::Option {
  enum class Stored {
    kLeadingNumber,  // a check state: the number the text begins with
    kWholeNumber,    // a check state: the whole text as a number
    kText,
    kQuotedText,     // written in quotes, so that blanks at its ends survive
  };
  const char* key;
  Control& control;
  Stored stored;
  const char* fallback;
};

std::vector<frmOptions::Option> frmOptions::Options() {
  using Stored = Option::Stored;
  return {
      {"UseDate", UseDate, Stored::kLeadingNumber, "1"},
      {"UseFrom", UseFrom, Stored::kWholeNumber, "1"},
      {"UseSubject", UseSubject, Stored::kWholeNumber, "1"},
      {"UseFnDate", ckFnDate, Stored::kLeadingNumber, "1"},
      {"UseFnFrom", ckFnFrom, Stored::kWholeNumber, "1"},
      {"UseFnSubject", ckFnSubject, Stored::kWholeNumber, "1"},
      {"UseFnFolder", ckFnFolder, Stored::kLeadingNumber, "0"},
      {"DateFormat", DateFormat, Stored::kText, "yymmdd HHMMSS"},
      {"TextFormat", TextFormat, Stored::kQuotedText, "%1 %2 %3"},
      {"FnFormat", txtFn, Stored::kText, "%1 %2 %3"},
      {"Since", txtSince, Stored::kText, ""},
      {"Before", txtBefore, Stored::kText, ""},
      {"ClipAddress", ClipAddress, Stored::kText, "50"},
      {"ClipSubject", ClipSubject, Stored::kText, "50"},
      {"FnOutput", cboFnOutput, Stored::kText, "MSG"},
  };
}

void frmOptions::LoadSettings() {
  Load();
  const clsINI& ini = *mINI;
  std::optional<std::string> unreadable;
  if (const std::optional<std::string> problem = ReadProblem(ini.FileName()))
    unreadable = "The settings file " + ini.FileName() + " cannot be read: " + *problem + ".";
  if (unreadable && unreadable != unreadable_) App().ReportFailure(*unreadable);
  unreadable_ = std::move(unreadable);
  for (const Option& option : Options()) {
    const std::string stored = ini.GetKey(kSection, option.key, option.fallback);
    if (option.stored == Option::Stored::kText || option.stored == Option::Stored::kQuotedText) {
      static_cast<EditableControl&>(option.control).SetText(stored);
      continue;
    }
    const auto parse = option.stored == Option::Stored::kLeadingNumber
                           ? CheckStateFromLeadingNumber
                           : CheckStateFromWholeText;
    // A stored value that is no check state falls back to the default.
    static_cast<CheckBox&>(option.control).SetValue(parse(stored).value_or(*parse(option.fallback)));
  }
  store_options_.ansi_code_page = ini.GetKey(kSection, "AnsiCodePage", "");
}

void frmOptions::UseCustomINI(const std::string& pINI) {
  Load();
  mINI->SetFileName(pINI);
  LoadSettings();
}

void frmOptions::SaveSettings() {
  Load();
  const clsINI& ini = *mINI;
  try {
    MakeSettingsDirectory(ini.FileName());
  } catch (const std::system_error& error) {
    App().MsgBox("The options could not be saved to the settings file " + ini.FileName() + ": " +
                 error.what() + ".");
    return;
  }
  bool failed = false;
  for (const Option& option : Options()) {
    std::string value;
    switch (option.stored) {
      case Option::Stored::kLeadingNumber:
      case Option::Stored::kWholeNumber:
        value = std::to_string(static_cast<CheckBox&>(option.control).Value());
        break;
      case Option::Stored::kText:
        value = static_cast<EditableControl&>(option.control).Text();
        break;
      case Option::Stored::kQuotedText:
        value = "\"" + static_cast<EditableControl&>(option.control).Text() + "\"";
        break;
    }
    failed |= ini.AddKey(kSection, option.key, value) != 0;
  }
  if (failed)
    App().MsgBox("The options could not be saved to the settings file " + ini.FileName() + ".");
}

void frmOptions::Override(const RunOverrides& overrides) {
  Load();
  if (overrides.since) txtSince.SetText(*overrides.since);
  if (overrides.before) txtBefore.SetText(*overrides.before);
  if (overrides.date_format) DateFormat.SetText(*overrides.date_format);
  if (overrides.use_fn_folder) ckFnFolder.SetValue(*overrides.use_fn_folder ? CheckBox::Checked : CheckBox::Unchecked);
  if (overrides.fn_format) txtFn.SetText(*overrides.fn_format);
  if (overrides.fn_output) cboFnOutput.SetText(*overrides.fn_output);
}

SearchOptions frmOptions::CurrentSearchOptions() const {
  return {.since = txtSince.Text(), .before = txtBefore.Text(), .date_format = DateFormat.Text()};
}

SaveOptions frmOptions::CurrentSaveOptions() const {
  return {.fn_format = txtFn.Text(),
          .fn_output = cboFnOutput.Text(),
          .use_fn_folder = ckFnFolder.Value() != CheckBox::Unchecked,
          .clip_address = ClipAddress.Text(),
          .clip_subject = ClipSubject.Text()};
}

ExportOptions frmOptions::CurrentExportOptions() const {
  return {.text_format = TextFormat.Text(), .settings_file = SettingsFile()};
}

namespace {

// The placeholders of the checked boxes, in order, one blank between them.
std::string ComposeFormat(const CheckBox& date, const CheckBox& from, const CheckBox& subject) {
  std::string format;
  if (date.Value() != CheckBox::Unchecked) format = "%1 ";
  if (from.Value() != CheckBox::Unchecked) format += "%2 ";
  if (subject.Value() != CheckBox::Unchecked) format += "%3 ";
  if (!format.empty()) format.pop_back();
  return format;
}

}  // namespace

void frmOptions::BuildTextFormat() { TextFormat.SetText(ComposeFormat(UseDate, UseFrom, UseSubject)); }

void frmOptions::BuildFilenameFormat() {
  txtFn.SetText(ComposeFormat(ckFnDate, ckFnFrom, ckFnSubject));
}

void frmOptions::OK() {
  Hide();
  SaveSettings();
}

void frmOptions::Cancel() {
  Hide();
  LoadSettings();
}

}  // namespace qs

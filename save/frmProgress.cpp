#include "save/frmProgress.h"

#include <string>

#include "platform/application.h"

namespace qs {

namespace {

// Twips per pixel at the usual screen resolution.
constexpr int kTwips = 15;

// A number as the program has always written it: one leading blank, the
// place of a sign.
void AppendSignedNumber(std::string& text, std::int32_t number) {
  if (number >= 0) text += ' ';
  text += std::to_string(number);
}

}  // namespace

frmProgress::frmProgress(Application& app)
    : Form(app, "frmProgress", "Progress", 402 * kTwips, 88 * kTwips),
      txtStatus(Add<Label>("txtStatus", "")),
      ProgressBar1(Add<ProgressBar>("ProgressBar1")),
      cmdCancel(Add<CommandButton>("cmdCancel", "Cancel")) {
  txtStatus.Move(8 * kTwips, 8 * kTwips, 385 * kTwips, 17 * kTwips);
  ProgressBar1.Move(8 * kTwips, 32 * kTwips, 385 * kTwips, 17 * kTwips);
  // A row of its own below the bar, at the bar's right edge.
  cmdCancel.Move(318 * kTwips, 57 * kTwips, 75 * kTwips, 23 * kTwips);
  cmdCancel.SetCancel(true);
  cmdCancel.SetTabIndex(0);
  cmdCancel.onClick = [this] { stop_requested_ = true; };
}

void frmProgress::OnLoad() {
  if (!Peer() && App().Windows().ShowsProgressLine()) terminal_ = std::make_unique<TerminalStatusLine>();
}

// Closed by the user while the run goes on, the window stays and the run
// stops after the item at hand.
void frmProgress::OnUnload(bool& cancel) {
  if (!closing_) {
    stop_requested_ = true;
    cancel = true;
    return;
  }
  terminal_.reset();
}

void frmProgress::Close() {
  closing_ = true;
  Unload();
}

void frmProgress::ShowItem(std::int32_t item, std::int32_t count) {
  std::string text = "Saving ";
  AppendSignedNumber(text, item);
  text += " of ";
  AppendSignedNumber(text, count);
  if (terminal_) terminal_->Show(text);
  txtStatus.SetCaption(std::move(text));
  ProgressBar1.SetValue(item);
  App().Windows().DoEvents();
}

}  // namespace qs

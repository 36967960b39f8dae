#pragma once
// The small window that shows how far a save run has come, with the Cancel
// button (Esc, or closing the window) that stops the run after the item at
// hand. Where the window system gives it no window of its own (the
// terminal), the same text is one status line on standard error, and a stop
// is asked for from outside (Ctrl+C) instead.

#include <cstdint>
#include <memory>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/terminal_status.h"

namespace qs {

class frmProgress : public Form {
 public:
  explicit frmProgress(Application& app);

  Label& txtStatus;
  ProgressBar& ProgressBar1;
  CommandButton& cmdCancel;

  // "Saving  3 of  12" on the label and the bar at item, shown before the
  // item is saved; then the window takes the clicks waiting for it.
  void ShowItem(std::int32_t item, std::int32_t count);
  // Whether the user asked the run to stop.
  bool StopRequested() const { return stop_requested_; }
  // Closes the window at the end of the run: only then does it close.
  void Close();

 protected:
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  std::unique_ptr<TerminalStatusLine> terminal_;
  bool stop_requested_ = false;
  bool closing_ = false;
};

}  // namespace qs

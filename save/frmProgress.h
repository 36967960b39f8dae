#pragma once
// The small window that shows how far a save run has come. Where the window
// system gives it no window of its own (the terminal), the same text is one
// status line on standard error.

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

  // "Saving  3 of  12" on the label, and the bar at item.
  void ShowItem(std::int32_t item, std::int32_t count);

 protected:
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  std::unique_ptr<TerminalStatusLine> terminal_;
};

}  // namespace qs

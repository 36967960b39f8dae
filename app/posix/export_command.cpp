#include "app/posix/export_command.h"

#include <exception>

#include "app/frmMain.h"
#include "app/posix/command_output.h"
#include "platform/application.h"
#include "platform/settings_file.h"
#include "platform/text_encoding.h"
#include "save/modListToText.h"
#include "settings/frmOptions.h"

namespace qs {

void RunExportCommand(const FrontDoor& door, Application& app, frmMain& main, std::ostream& out) {
  main.Automate("Search");
  if (app.FailureShown()) return;
  const ExportOptions options = main.Options().CurrentExportOptions();
  const bool to_output = door.output == kStandardOutput;
  const char* line_end = to_output && StandardOutputIsStream() ? "\n" : "\r\n";
  std::string text;
  const FoundItems& found = main.Found();
  for (std::int32_t row = 1; row <= found.RowCount(); ++row)
    text += FormatListLine(options.text_format, found.Texts(row)) + line_end;
  std::string target = door.output.value_or(std::string());
  if (target.empty()) {
    target = DefaultExportTarget(options.settings_file).path;
    try {
      // The settings file may not have been saved yet.
      MakeSettingsDirectory(options.settings_file);
    } catch (const std::exception& error) {
      app.ReportFailure("The list could not be written to " + target + " (" + error.what() + ").");
      return;
    }
  }
  if (WriteCommandOutput(app, target, ToSystemCharset(text), out) && !to_output)
    app.Tell("The list was written to " + target + ".");
}

}  // namespace qs

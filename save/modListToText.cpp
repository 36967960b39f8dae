#include "save/modListToText.h"

#include <exception>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/list_view.h"
#include "platform/system.h"
#include "platform/text_editor.h"
#include "platform/text_encoding.h"
#include "save/placeholder_format.h"
#include "save/row_texts.h"

namespace qs {

std::string FormatListLine(const std::string& format, const ListView& list, std::int32_t row) {
  return FillPlaceholders(format, RowTexts(list, row));
}

ExportTarget DefaultExportTarget() {
  return {ProgramDirectory() + PathSeparator() + "list.txt", OpenInTextEditor};
}

void ListToText(Application& app, const ListView& list, const ExportOptions& settings,
                const ExportTarget& target) {
  std::string text;
  for (std::int32_t row = 1; row <= list.RowCount(); ++row) {
    text += FormatListLine(settings.text_format, list, row);
    text += "\r\n";
  }
  try {
    WriteWholeFile(target.path, ToSystemCharset(text));
  } catch (const std::exception& error) {
    app.Debug(error.what());
    app.MsgBox("The list could not be written to " + target.path + ".");
    return;
  }
  try {
    target.open(target.path);
  } catch (const std::exception& error) {
    app.Debug(error.what());
    app.MsgBox("The list was written to " + target.path + ", but no text editor could be opened.");
  }
}

}  // namespace qs

#include "save/modListToText.h"

#include <exception>

#include "mailstore/found_items.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/text_editor.h"
#include "platform/text_encoding.h"
#include "save/placeholder_format.h"

namespace qs {

std::string FormatListLine(const std::string& format, const RowTexts& texts) {
  return FillPlaceholders(format, PlaceholderTexts(texts));
}

ExportTarget DefaultExportTarget() {
  return {ProgramDirectory() + PathSeparator() + "list.txt", OpenInTextEditor};
}

void ListToText(Application& app, const FoundItems& list, const ExportOptions& settings,
                const ExportTarget& target) {
  std::string text;
  for (std::int32_t row = 1; row <= list.RowCount(); ++row) {
    text += FormatListLine(settings.text_format, list.Texts(row));
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

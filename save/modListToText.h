#pragma once
// The list exported to a text file, one line per row, then shown in the
// system's text editor.

#include <cstdint>
#include <functional>
#include <string>

#include "mailstore/found_item.h"
#include "settings/option_values.h"

namespace qs {

class Reporter;
class FoundItems;

// One line of the export: the line format filled from a row's texts as the
// list shows them (no clipping, no cleaning).
std::string FormatListLine(const std::string& format, const RowTexts& texts);

// Where the export is written and how it is shown.
struct ExportTarget {
  std::string path;
  std::function<void(const std::string& path)> open;
};

// "list.txt" where the user's files go (UserFileDirectory), opened in the
// text editor.
ExportTarget DefaultExportTarget(const std::string& settings_file);

// Writes every row in list order, each line ended by CR LF, in the system's
// character set, replacing any earlier export; then opens the file. When the
// target cannot be written, "list.txt" beside the settings file in use is
// written instead. A file that cannot be written or an editor that cannot be
// started is reported in a message box that names the file.
void ListToText(Reporter& report, const FoundItems& list, const ExportOptions& settings,
                const ExportTarget& target);

}  // namespace qs

#include "save/modListToText.h"

#include <exception>

#include "mailstore/found_items.h"
#include "platform/file_system.h"
#include "platform/reporter.h"
#include "platform/settings_file.h"
#include "platform/system.h"
#include "platform/text_editor.h"
#include "platform/text_encoding.h"
#include "save/placeholder_format.h"

namespace qs {

std::string FormatListLine(const std::string& format, const RowTexts& texts) {
  return FillPlaceholders(format, PlaceholderTexts(texts));
}

namespace {

// "list.txt" in the settings file's directory; empty without a settings file.
std::string BesideSettingsFile(const std::string& settings_file) {
  if (settings_file.empty()) return {};
  const auto separator = settings_file.find_last_of(std::string("/") + PathSeparator());
  const std::string directory =
      separator == std::string::npos ? std::string(".") : settings_file.substr(0, separator);
  return directory + PathSeparator() + "list.txt";
}

}  // namespace

ExportTarget DefaultExportTarget(const std::string& settings_file) {
  return {UserFileDirectory(settings_file) + PathSeparator() + "list.txt", OpenInTextEditor};
}

void ListToText(Reporter& report, const FoundItems& list, const ExportOptions& settings,
                const ExportTarget& target) {
  std::string text;
  for (std::int32_t row = 1; row <= list.RowCount(); ++row) {
    text += FormatListLine(settings.text_format, list.Texts(row));
    text += "\r\n";
  }
  const std::string bytes = ToSystemCharset(text);
  std::string path = target.path;
  const std::string beside_settings = BesideSettingsFile(settings.settings_file);
  try {
    // The settings file may not have been saved yet.
    if (path == beside_settings) MakeSettingsDirectory(settings.settings_file);
    WriteWholeFile(path, bytes);
  } catch (const std::exception& error) {
    report.Debug(error.what());
    if (beside_settings.empty() || beside_settings == path) {
      report.Tell("The list could not be written to " + path + ".");
      return;
    }
    path = beside_settings;
    try {
      // The settings file may not have been saved yet.
      MakeSettingsDirectory(settings.settings_file);
      WriteWholeFile(path, bytes);
    } catch (const std::exception& second_error) {
      report.Debug(second_error.what());
      report.Tell("The list could not be written to " + target.path + " nor to " + path + ".");
      return;
    }
  }
  try {
    target.open(path);
  } catch (const std::exception& error) {
    report.Debug(error.what());
    report.Tell("The list was written to " + path + ", but no text editor could be opened.");
  }
}

}  // namespace qs

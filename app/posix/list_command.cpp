#include "app/posix/list_command.h"

#include <numeric>

#include "app/frmMain.h"
#include "app/posix/command_output.h"
#include "app/posix/json_text.h"
#include "mailstore/found_items.h"
#include "platform/application.h"
#include "platform/text.h"

namespace qs {

namespace {

std::vector<std::size_t> OrAll(const std::vector<std::size_t>& columns) {
  if (!columns.empty()) return columns;
  std::vector<std::size_t> all(kFoundColumns.size());
  std::iota(all.begin(), all.end(), std::size_t{0});
  return all;
}

}  // namespace

std::string ListAsTsv(const FoundItems& found, const std::vector<std::size_t>& columns) {
  const std::vector<std::size_t> shown = OrAll(columns);
  std::string text;
  for (std::size_t k : shown) text += std::string(text.empty() ? "" : "\t") + kFoundColumns[k].header;
  text += '\n';
  for (std::int32_t row = 1; row <= found.RowCount(); ++row) {
    const RowTexts texts = found.Texts(row);
    for (std::size_t i = 0; i < shown.size(); ++i) text += (i ? "\t" : "") + OnOneLine(texts[shown[i]]);
    text += '\n';
  }
  return text;
}

std::string ListAsJson(const FoundItems& found, const std::vector<std::size_t>& columns) {
  const std::vector<std::size_t> shown = OrAll(columns);
  std::string text;
  for (std::int32_t row = 1; row <= found.RowCount(); ++row) {
    const FoundItem item = found.Item(row);
    const RowTexts texts = found.Texts(row);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const FoundColumn& column = kFoundColumns[shown[i]];
      text += (i ? "," : "{") + JsonString(column.header) + ':';
      // Times in a form other programs read, whatever the date format.
      const auto* date = std::get_if<DateField>(&column.field);
      text += date ? JsonLocalTime(item.**date) : JsonString(texts[shown[i]]);
    }
    text += "}\n";
  }
  return text;
}

void RunListCommand(const FrontDoor& door, Application& app, frmMain& main, std::ostream& out) {
  main.Automate("Search");
  if (app.FailureShown()) return;
  const std::string text = door.list_format == FrontDoor::ListFormat::Json ? ListAsJson(main.Found(), door.columns)
                                                                          : ListAsTsv(main.Found(), door.columns);
  WriteCommandOutput(app, door.output.value_or(kStandardOutput), text, out);
}

}  // namespace qs

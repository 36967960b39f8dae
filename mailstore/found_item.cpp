#include "mailstore/found_item.h"

namespace qs {

std::string ColumnText(const FoundColumn& column, const FoundItem& item, const DateStyle& dates) {
  if (const auto* text = std::get_if<TextField>(&column.field)) return item.**text;
  if (const auto* id = std::get_if<IdField>(&column.field)) return (item.**id).Hex();
  return dates.pattern.Format(item.*std::get<DateField>(column.field), dates.locale);
}

RowTexts ColumnTexts(const FoundItem& item, const DateStyle& dates) {
  RowTexts texts;
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k)
    texts[k] = ColumnText(kFoundColumns[k], item, dates);
  return texts;
}

}  // namespace qs

#include "mailstore/found_item.h"

#include "mailstore/date_text.h"

namespace qs {

std::string DateText(DateTime time, const DateStyle& dates) {
  return dates.pattern.Format(time, dates.locale);
}

RowTexts ColumnTexts(const FoundItem& item, const DateStyle& dates) {
  RowTexts texts;
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k)
    texts[k] = kFoundColumns[k].text(item, dates);
  return texts;
}

}  // namespace qs

#include "save/row_texts.h"

#include "platform/list_view.h"

namespace qs {

std::vector<std::string> RowTexts(const ListView& list, std::int32_t row) {
  const int columns = list.SubItemCount(row);
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(columns) + 1);
  for (int column = 0; column <= columns; ++column) texts.emplace_back(list.Text(row, column));
  return texts;
}

}  // namespace qs

#include "platform/list_view.h"

#include <stdexcept>

namespace qs {

void ListView::AddColumn(std::string header) {
  columns_.push_back(std::move(header));
  Notify(Change::Columns);
}

void ListView::ShowRows(const ListRows& rows) {
  rows_ = &rows;
  RowsChanged();
}

std::string ListView::Text(std::int32_t row, int column) const {
  if (!rows_) throw std::out_of_range("list row " + std::to_string(row));
  return rows_->Text(row, column);
}

}  // namespace qs

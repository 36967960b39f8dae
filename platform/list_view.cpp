#include "platform/list_view.h"

#include <algorithm>
#include <stdexcept>

namespace qs {

void ListView::AddColumn(std::string header) {
  columns_.push_back(std::move(header));
  Notify(Change::Columns);
}

std::int32_t ListView::AddRow(std::string text) {
  Row& cells = rows_.emplace_back();
  cells.reserve(std::max<std::size_t>(columns_.size(), 1));
  cells.push_back(std::move(text));
  Notify(Change::RowCount);
  return RowCount();
}

void ListView::Clear() {
  rows_.clear();
  Notify(Change::RowCount);
}

const ListView::Row& ListView::RowAt(std::int32_t row) const {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row " + std::to_string(row));
  return rows_[static_cast<std::size_t>(row - 1)];
}

const std::string& ListView::Text(std::int32_t row, int column) const {
  static const std::string empty;
  const Row& cells = RowAt(row);
  if (column < 0) throw std::out_of_range("list column " + std::to_string(column));
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                         : empty;
}

void ListView::SetText(std::int32_t row, int column, std::string text) {
  RowAt(row);
  if (column < 0 || column >= 64) throw std::out_of_range("list column " + std::to_string(column));
  Row& cells = rows_[static_cast<std::size_t>(row - 1)];
  if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(column + 1);
  cells[static_cast<std::size_t>(column)] = std::move(text);
  Notify(Change::Cell, row);
}

int ListView::SubItemCount(std::int32_t row) const {
  return static_cast<int>(RowAt(row).size()) - 1;
}

}  // namespace qs

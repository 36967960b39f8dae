#include "platform/list_view.h"

#include <algorithm>
#include <stdexcept>

namespace qs {

void ListView::AddColumn(std::string header) {
  columns_.push_back(std::move(header));
  Notify(Change::Columns);
}

std::int32_t ListView::AddRow(std::string text) {
  Row& row = rows_.emplace_back();
  // Room for a typical found-item row, so that its texts rarely move.
  row.texts.reserve(std::max<std::size_t>(160, text.size() + 64));
  row.texts.append(text);
  row.ends[0] = static_cast<std::uint32_t>(row.texts.size());
  row.count = 1;
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

std::string_view ListView::Text(std::int32_t row, int column) const {
  const Row& cells = RowAt(row);
  if (column < 0) throw std::out_of_range("list column " + std::to_string(column));
  if (column >= cells.count) return {};
  const std::uint32_t begin = column == 0 ? 0 : cells.ends[static_cast<std::size_t>(column - 1)];
  const std::uint32_t end = cells.ends[static_cast<std::size_t>(column)];
  return std::string_view(cells.texts).substr(begin, end - begin);
}

void ListView::SetText(std::int32_t row, int column, std::string text) {
  RowAt(row);
  if (column < 0 || column >= kMaxColumns)
    throw std::out_of_range("list column " + std::to_string(column));
  Row& cells = rows_[static_cast<std::size_t>(row - 1)];
  const auto at = static_cast<std::size_t>(column);
  // Columns skipped over become empty texts.
  for (; cells.count <= column; ++cells.count)
    cells.ends[static_cast<std::size_t>(cells.count)] =
        static_cast<std::uint32_t>(cells.texts.size());
  const std::uint32_t begin = column == 0 ? 0 : cells.ends[at - 1];
  const std::uint32_t end = cells.ends[at];
  cells.texts.replace(begin, end - begin, text);
  const std::int64_t grown =
      static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(end - begin);
  for (auto i = at; i < static_cast<std::size_t>(cells.count); ++i)
    cells.ends[i] = static_cast<std::uint32_t>(static_cast<std::int64_t>(cells.ends[i]) + grown);
  Notify(Change::Cell, row);
}

int ListView::SubItemCount(std::int32_t row) const { return RowAt(row).count - 1; }

}  // namespace qs

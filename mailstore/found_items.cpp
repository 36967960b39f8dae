#include "mailstore/found_items.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace qs {

namespace {
constexpr std::size_t kBlockSize = std::size_t{1} << 20;
}

void FoundItems::Clear() {
  rows_.clear();
  blocks_.clear();
  free_ = nullptr;
  room_ = 0;
  if (onChange) onChange();
}

char* FoundItems::Reserve(std::size_t size) {
  if (size > room_) {
    // A row larger than a block gets a block of its own; the rest of the
    // current block still serves the rows after it.
    const std::size_t block = std::max(size, kBlockSize);
    blocks_.push_back(std::make_unique<char[]>(block));
    if (block > kBlockSize) return blocks_.back().get();
    free_ = blocks_.back().get();
    room_ = block;
  }
  char* at = free_;
  free_ += size;
  room_ -= size;
  return at;
}

void FoundItems::Add(FoundItem item) {
  std::size_t size = 0;
  for (const FoundColumn& column : kFoundColumns) size += (item.*column.field).size();
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a found item of " + std::to_string(size) + " bytes");
  Row row{Reserve(size), {}};
  char* at = const_cast<char*>(row.texts);
  std::uint32_t end = 0;
  for (std::size_t k = 0; k < kColumns; ++k) {
    const std::string& text = item.*kFoundColumns[k].field;
    if (!text.empty()) std::memcpy(at + end, text.data(), text.size());
    end += static_cast<std::uint32_t>(text.size());
    row.ends[k] = end;
  }
  rows_.push_back(row);
  if (onChange) onChange();
}

std::string_view FoundItems::Text(std::int32_t row, int column) const {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row " + std::to_string(row));
  if (column < 0 || column >= static_cast<int>(kColumns))
    throw std::out_of_range("list column " + std::to_string(column));
  const Row& cells = rows_[static_cast<std::size_t>(row - 1)];
  const auto k = static_cast<std::size_t>(column);
  const std::uint32_t begin = k == 0 ? 0 : cells.ends[k - 1];
  return std::string_view(cells.texts + begin, cells.ends[k] - begin);
}

FoundItem FoundItems::Item(std::int32_t row) const {
  FoundItem item;
  for (std::size_t k = 0; k < kColumns; ++k)
    item.*kFoundColumns[k].field = std::string(Text(row, static_cast<int>(k)));
  return item;
}

}  // namespace qs

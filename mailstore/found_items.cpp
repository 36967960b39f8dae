#include "mailstore/found_items.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace qs {

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// The bytes a column keeps in a row's block.
std::string_view BytesOf(const FoundColumn& column, const FoundItem& item) {
  if (const auto* id = std::get_if<IdField>(&column.field)) return (item.**id).Bytes();
  return item.*std::get<TextField>(column.field);
}

}  // namespace

void FoundItems::Start(DateStyle dates) {
  dates_ = std::move(dates);
  passed_over_.clear();
  rows_.clear();
  for (auto& texts : shared_) texts.clear();
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

void FoundItems::Add(const FoundItem& item) {
  Row row{};
  std::array<std::string_view, kTexts> texts{};
  std::size_t size = 0;
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k) {
    const FoundColumn& column = kFoundColumns[k];
    const std::size_t slot = kSlots[k];
    switch (found_items_detail::KeptAs(column)) {
      case Kept::Date:
        row.dates[slot] = item.*std::get<DateField>(column.field);
        break;
      case Kept::Shared: {
        std::vector<std::string>& seen = shared_[slot];
        const std::string& text = item.*std::get<TextField>(column.field);
        if (seen.empty() || seen.back() != text) seen.push_back(text);
        row.shared[slot] = static_cast<std::uint32_t>(seen.size() - 1);
        break;
      }
      case Kept::Bytes:
        texts[slot] = BytesOf(column, item);
        size += texts[slot].size();
        break;
    }
  }
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a found item of " + std::to_string(size) + " bytes");
  char* const at = Reserve(size);
  row.texts = at;
  std::uint32_t end = 0;
  for (std::size_t slot = 0; slot < kTexts; ++slot) {
    const std::string_view text = texts[slot];
    if (!text.empty()) {
      std::memcpy(at + end, text.data(), text.size());
      end += static_cast<std::uint32_t>(text.size());
    }
    row.ends[slot] = end;
  }
  rows_.push_back(row);
  if (onChange) onChange();
}

const FoundItems::Row& FoundItems::RowAt(std::int32_t row) const {
  if (row < 1 || row > RowCount()) throw std::out_of_range("list row " + std::to_string(row));
  return rows_[static_cast<std::size_t>(row - 1)];
}

FoundItem FoundItems::Item(std::int32_t number) const {
  const Row& row = RowAt(number);
  FoundItem item;
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k) {
    const FoundColumn& column = kFoundColumns[k];
    const std::size_t slot = kSlots[k];
    switch (found_items_detail::KeptAs(column)) {
      case Kept::Date:
        item.*std::get<DateField>(column.field) = row.dates[slot];
        break;
      case Kept::Shared:
        item.*std::get<TextField>(column.field) = shared_[slot][row.shared[slot]];
        break;
      case Kept::Bytes:
        if (const auto* id = std::get_if<IdField>(&column.field))
          item.**id = EntryId(std::string(KeptBytes(row, slot)));
        else
          item.*std::get<TextField>(column.field) = KeptBytes(row, slot);
        break;
    }
  }
  return item;
}

std::string_view FoundItems::KeptBytes(const Row& row, std::size_t slot) {
  const std::uint32_t begin = slot == 0 ? 0 : row.ends[slot - 1];
  return {row.texts + begin, row.ends[slot] - begin};
}

namespace {

// The column of the list that shows the field.
template <class Field>
constexpr std::size_t ColumnOf(Field field) {
  std::size_t k = 0;
  while (kFoundColumns[k].field != decltype(kFoundColumns[k].field){field}) ++k;
  return k;
}

}  // namespace

EntryId FoundItems::RowEntryId(std::int32_t row) const {
  static constexpr std::size_t kColumn = ColumnOf(&FoundItem::entry_id);
  static_assert(found_items_detail::KeptAs(kFoundColumns[kColumn]) == Kept::Bytes);
  return EntryId(std::string(KeptBytes(RowAt(row), kSlots[kColumn])));
}

const std::string& FoundItems::RowFolder(std::int32_t row) const {
  static constexpr std::size_t kColumn = ColumnOf(&FoundItem::folder);
  static_assert(found_items_detail::KeptAs(kFoundColumns[kColumn]) == Kept::Shared);
  return shared_[kSlots[kColumn]][RowAt(row).shared[kSlots[kColumn]]];
}

std::string FoundItems::Text(std::int32_t row, int column) const {
  const FoundItem item = Item(row);
  if (column < 0 || column >= static_cast<int>(kFoundColumns.size()))
    throw std::out_of_range("list column " + std::to_string(column));
  return ColumnText(kFoundColumns[static_cast<std::size_t>(column)], item, dates_);
}

RowTexts FoundItems::Texts(std::int32_t row) const { return ColumnTexts(Item(row), dates_); }

}  // namespace qs

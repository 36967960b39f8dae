#include "mailstore/found_items.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "platform/text.h"

namespace qs {

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of each upper-case hexadecimal digit; -1 for any other byte.
constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> values{};
  for (signed char& value : values) value = -1;
  for (int digit = 0; digit < 16; ++digit) values[static_cast<unsigned char>(kHexDigits[digit])] = static_cast<signed char>(digit);
  return values;
}();

int HexValue(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

// Upper-case hexadecimal, as every store writes its entry identifiers; any
// other text is kept as it is.
bool IsUpperHex(std::string_view text) {
  return !text.empty() && text.size() % 2 == 0 &&
         std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

}  // namespace

void FoundItems::Start(DateStyle dates) {
  dates_ = std::move(dates);
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
  std::array<const std::string*, kTexts> texts{};
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
      case Kept::Text: {
        const std::string& text = item.*std::get<TextField>(column.field);
        texts[slot] = &text;
        const bool hex = IsUpperHex(text);
        row.hex |= static_cast<std::uint32_t>(hex) << slot;
        size += hex ? text.size() / 2 : text.size();
        break;
      }
    }
  }
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a found item of " + std::to_string(size) + " bytes");
  char* const at = Reserve(size);
  row.texts = at;
  std::uint32_t end = 0;
  for (std::size_t slot = 0; slot < kTexts; ++slot) {
    const std::string& text = *texts[slot];
    if (row.hex >> slot & 1) {
      for (std::size_t i = 0; i < text.size(); i += 2)
        at[end++] = static_cast<char>(HexValue(text[i]) << 4 | HexValue(text[i + 1]));
    } else if (!text.empty()) {
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
      case Kept::Text:
        item.*std::get<TextField>(column.field) = KeptText(row, slot);
        break;
    }
  }
  return item;
}

std::string FoundItems::KeptText(const Row& row, std::size_t slot) {
  const std::uint32_t begin = slot == 0 ? 0 : row.ends[slot - 1];
  const std::string_view stored(row.texts + begin, row.ends[slot] - begin);
  if (!(row.hex >> slot & 1)) return std::string(stored);
  std::string text(stored.size() * 2, '\0');
  WriteHexDigits(stored, text.data());
  return text;
}

std::string FoundItems::EntryId(std::int32_t row) const {
  static constexpr std::size_t kColumn = [] {
    std::size_t k = 0;
    while (std::get_if<TextField>(&kFoundColumns[k].field) == nullptr ||
           *std::get_if<TextField>(&kFoundColumns[k].field) != &FoundItem::entry_id)
      ++k;
    return k;
  }();
  static_assert(found_items_detail::KeptAs(kFoundColumns[kColumn]) == Kept::Text);
  return KeptText(RowAt(row), kSlots[kColumn]);
}

std::string FoundItems::Text(std::int32_t row, int column) const {
  const FoundItem item = Item(row);
  if (column < 0 || column >= static_cast<int>(kFoundColumns.size()))
    throw std::out_of_range("list column " + std::to_string(column));
  return ColumnText(kFoundColumns[static_cast<std::size_t>(column)], item, dates_);
}

RowTexts FoundItems::Texts(std::int32_t row) const { return ColumnTexts(Item(row), dates_); }

}  // namespace qs

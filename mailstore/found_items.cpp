#include "mailstore/found_items.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace qs {

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Entry identifiers are upper-case hexadecimal in every store; one that is
// not is kept as it is.
bool IsUpperHex(std::string_view text) {
  return text.size() % 2 == 0 &&
         std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

}  // namespace

void FoundItems::Start(DateStyle dates) {
  dates_ = std::move(dates);
  rows_.clear();
  folders_.clear();
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
  const bool hex = IsUpperHex(item.entry_id);
  const std::string* texts[] = {&item.from, &item.subject, &item.to, &item.entry_id};
  std::size_t size = 0;
  for (const std::string* text : texts) size += text->size();
  if (hex) size -= item.entry_id.size() / 2;
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a found item of " + std::to_string(size) + " bytes");
  if (folders_.empty() || folders_.back() != item.folder) folders_.push_back(item.folder);

  char* const at = Reserve(size);
  Row row{at, {}, item.sent, item.received, item.latest,
          static_cast<std::uint32_t>(folders_.size() - 1), hex};
  std::uint32_t end = 0;
  for (std::size_t k = 0; k < kStoredCount; ++k) {
    const std::string& text = *texts[k];
    if (k == kEntryId && hex) {
      for (std::size_t i = 0; i < text.size(); i += 2)
        at[end++] = static_cast<char>(HexValue(text[i]) << 4 | HexValue(text[i + 1]));
    } else if (!text.empty()) {
      std::memcpy(at + end, text.data(), text.size());
      end += static_cast<std::uint32_t>(text.size());
    }
    row.ends[k] = end;
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
  const auto stored = [&row](std::size_t k) {
    const std::uint32_t begin = k == 0 ? 0 : row.ends[k - 1];
    return std::string(row.texts + begin, row.ends[k] - begin);
  };
  FoundItem item{row.sent,     stored(kFrom),   stored(kSubject),           stored(kTo),
                 row.received, stored(kEntryId), folders_[row.folder], row.latest};
  if (row.hex_entry_id) {
    std::string hex;
    hex.reserve(item.entry_id.size() * 2);
    for (const char c : item.entry_id) {
      const auto byte = static_cast<unsigned char>(c);
      hex += kHexDigits[byte >> 4];
      hex += kHexDigits[byte & 0xF];
    }
    item.entry_id = std::move(hex);
  }
  return item;
}

std::string FoundItems::Text(std::int32_t row, int column) const {
  const FoundItem item = Item(row);
  if (column < 0 || column >= static_cast<int>(kFoundColumns.size()))
    throw std::out_of_range("list column " + std::to_string(column));
  return kFoundColumns[static_cast<std::size_t>(column)].text(item, dates_);
}

RowTexts FoundItems::Texts(std::int32_t row) const {
  return ColumnTexts(Item(row), dates_);
}

}  // namespace qs

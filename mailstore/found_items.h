#pragma once
// The list's model: every found item of the last search, in list order, with
// the date style of that search. Rows are numbered from 1 and do not change
// once added. A row is kept as the column table says: dates as times, texts
// that repeat from row to row once for the rows that share them, the other
// texts and the entry identifier's bytes one after another in a few large
// blocks shared by all rows. So a list of a million rows costs little more
// than its senders, subjects, recipients and identifiers.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/found_item.h"
#include "platform/list_rows.h"

namespace qs {

namespace found_items_detail {
// Bytes: a text or an identifier's bytes, in the row's block.
enum class Kept { Bytes, Shared, Date };
constexpr Kept KeptAs(const FoundColumn& column) {
  if (std::holds_alternative<DateField>(column.field)) return Kept::Date;
  return column.repeats == Repeats::Yes ? Kept::Shared : Kept::Bytes;
}
static_assert([] {
  for (const FoundColumn& column : kFoundColumns)
    if (KeptAs(column) == Kept::Shared && !std::holds_alternative<TextField>(column.field)) return false;
  return true;
}(), "only texts are shared between rows");
constexpr std::size_t Count(Kept kept) {
  std::size_t count = 0;
  for (const FoundColumn& column : kFoundColumns) count += KeptAs(column) == kept;
  return count;
}
// Each column's place among the columns kept the same way.
constexpr std::array<std::size_t, kFoundColumns.size()> Slots() {
  std::array<std::size_t, kFoundColumns.size()> slots{};
  std::array<std::size_t, 3> next{};
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k)
    slots[k] = next[static_cast<std::size_t>(KeptAs(kFoundColumns[k]))]++;
  return slots;
}
}  // namespace found_items_detail

class FoundItems final : public FoundItemSink, public ListRows {
 public:
  void Start(DateStyle dates) override;
  void Add(const FoundItem& item) override;
  void PassedOver(std::string kinds) override { passed_over_ = std::move(kinds); }

  std::int32_t RowCount() const override { return static_cast<std::int32_t>(rows_.size()); }
  // The text the column (an index into kFoundColumns) shows in the row.
  // std::out_of_range for a row or column that does not exist.
  std::string Text(std::int32_t row, int column) const override;
  FoundItem Item(std::int32_t row) const;
  // The row's entry identifier alone, as Item gives it.
  EntryId RowEntryId(std::int32_t row) const;
  // The path of the folder the row was found in, as Item gives it.
  const std::string& RowFolder(std::int32_t row) const;
  // The row's texts as the list shows them, in column order.
  RowTexts Texts(std::int32_t row) const;
  const DateStyle& Dates() const { return dates_; }
  // What the search that filled the list passed over as no mail.
  const std::string& PassedOver() const { return passed_over_; }

  // Called after rows were added or the list emptied.
  std::function<void()> onChange;

 private:
  using Kept = found_items_detail::Kept;
  static constexpr std::size_t kTexts = found_items_detail::Count(Kept::Bytes);
  static constexpr std::size_t kShared = found_items_detail::Count(Kept::Shared);
  static constexpr std::size_t kDates = found_items_detail::Count(Kept::Date);
  static constexpr auto kSlots = found_items_detail::Slots();
  static_assert(kTexts <= 32);

  struct Row {
    const char* texts;
    std::array<std::uint32_t, kTexts> ends;
    std::array<DateTime, kDates> dates;
    std::array<std::uint32_t, kShared> shared;  // into shared_
  };
  const Row& RowAt(std::int32_t row) const;
  static std::string_view KeptBytes(const Row& row, std::size_t slot);
  char* Reserve(std::size_t size);

  DateStyle dates_;
  std::string passed_over_;
  std::deque<Row> rows_;
  std::array<std::vector<std::string>, kShared> shared_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace qs

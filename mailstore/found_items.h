#pragma once
// The list's model: every found item of the last search, in list order, with
// the date style of that search. Rows are numbered from 1 and do not change
// once added. A row keeps its dates as times and its entry identifier in its
// compact form, and rows of one folder share its path; the other texts of
// all rows share a few large blocks. So a list of a million rows costs
// little more than the size of its senders, subjects and recipients.

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

class FoundItems final : public FoundItemSink, public ListRows {
 public:
  void Start(DateStyle dates) override;
  void Add(FoundItem item) override;

  std::int32_t RowCount() const override { return static_cast<std::int32_t>(rows_.size()); }
  // The text the column (an index into kFoundColumns) shows in the row.
  // std::out_of_range for a row or column that does not exist.
  std::string Text(std::int32_t row, int column) const override;
  FoundItem Item(std::int32_t row) const;
  // The row's texts as the list shows them, in column order.
  RowTexts Texts(std::int32_t row) const;
  const DateStyle& Dates() const { return dates_; }

  // Called after rows were added or the list emptied.
  std::function<void()> onChange;

 private:
  // The texts a row keeps in the blocks, in this order.
  enum Stored { kFrom, kSubject, kTo, kEntryId, kStoredCount };
  struct Row {
    const char* texts;
    std::array<std::uint32_t, kStoredCount> ends;
    DateTime sent, received, latest;
    std::uint32_t folder;
    bool hex_entry_id;  // kept as the bytes its hexadecimal digits stand for
  };
  const Row& RowAt(std::int32_t row) const;
  char* Reserve(std::size_t size);

  DateStyle dates_;
  std::deque<Row> rows_;
  std::vector<std::string> folders_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace qs

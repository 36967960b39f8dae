#pragma once
// The list's model: every found item of the last search, in list order.
// Rows are numbered from 1 and do not change once added; the texts of all
// rows share a few large blocks, so that a list of a million rows costs about
// the size of its texts.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "mailstore/found_item.h"
#include "platform/list_rows.h"

namespace qs {

class FoundItems final : public FoundItemSink, public ListRows {
 public:
  void Clear() override;
  void Add(FoundItem item) override;

  std::int32_t RowCount() const override { return static_cast<std::int32_t>(rows_.size()); }
  // The text of the column (an index into kFoundColumns) of the row.
  // std::out_of_range for a row or column that does not exist.
  std::string_view Text(std::int32_t row, int column) const override;
  FoundItem Item(std::int32_t row) const;

  // Called after rows were added or the list cleared.
  std::function<void()> onChange;

 private:
  static constexpr std::size_t kColumns = kFoundColumns.size();
  struct Row {
    const char* texts;
    std::array<std::uint32_t, kColumns> ends;
  };
  char* Reserve(std::size_t size);

  std::deque<Row> rows_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace qs

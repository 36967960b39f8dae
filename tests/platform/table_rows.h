#pragma once
// Rows for a list view from a table of texts.

#include <string>
#include <vector>

#include "platform/list_view.h"

namespace qs::test {

struct TableRows final : ListRows {
  std::int32_t RowCount() const override { return static_cast<std::int32_t>(rows.size()); }
  std::string Text(std::int32_t row, int column) const override {
    return rows.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column));
  }
  std::vector<std::vector<std::string>> rows;
};

}  // namespace qs::test

#pragma once
// A report-style list whose rows live in our own store; a native list view
// only shows it (as an owner-data list on Windows).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace qs {

class ListView : public Control {
 public:
  ListView(Form& owner, std::string name) : Control(owner, std::move(name)) {}
  const char* TypeName() const override { return "ListView"; }

  const std::vector<std::string>& Columns() const { return columns_; }
  void AddColumn(std::string header);

  // Rows are numbered from 1 in the order they were added.
  std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
  // Appends a row with its own text (column 0); returns its number.
  std::int32_t AddRow(std::string text);
  void Clear();
  // Column 0 is the row's own text; columns 1.. are its further columns.
  // The view is valid until the row is changed or the list cleared.
  std::string_view Text(std::int32_t row, int column) const;
  void SetText(std::int32_t row, int column, std::string text);
  // How many further columns have been given a text in this row.
  int SubItemCount(std::int32_t row) const;

  static constexpr int kMaxColumns = 16;

 private:
  // A row's texts one after another in one buffer, so that a list of many
  // rows costs one allocation per row, not one per text.
  struct Row {
    std::string texts;
    std::array<std::uint32_t, kMaxColumns> ends{};
    int count = 0;
  };
  const Row& RowAt(std::int32_t row) const;

  std::vector<std::string> columns_;
  std::vector<Row> rows_;
};

}  // namespace qs

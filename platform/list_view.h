#pragma once
// A report-style list that shows rows kept elsewhere, in a model of the
// program's own; a native list view only draws them (an owner-data list on
// Windows), asking for each text as it comes into view.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/list_rows.h"

namespace qs {

class ListView : public Control {
 public:
  ListView(Form& owner, std::string name) : Control(owner, std::move(name)) {}
  const char* TypeName() const override { return "ListView"; }

  const std::vector<std::string>& Columns() const { return columns_; }
  void AddColumn(std::string header);

  // The rows shown from now on; they must outlive the view or be replaced.
  void ShowRows(const ListRows& rows);
  // Tells the native view that rows were added or removed.
  void RowsChanged() const { Notify(Change::RowCount); }

  std::int32_t RowCount() const { return rows_ ? rows_->RowCount() : 0; }
  // Column 0 is a row's own text; columns 1.. are its further columns.
  std::string Text(std::int32_t row, int column) const;

 private:
  std::vector<std::string> columns_;
  const ListRows* rows_ = nullptr;
};

}  // namespace qs

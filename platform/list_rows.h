#pragma once
// The rows a list view shows, kept by a model of the program's own.

#include <cstdint>
#include <string>

namespace qs {

// What a list view shows: rows numbered from 1, a text in each column.
class ListRows {
 public:
  virtual std::int32_t RowCount() const = 0;
  // std::out_of_range for a row or column that does not exist.
  virtual std::string Text(std::int32_t row, int column) const = 0;

 protected:
  ~ListRows() = default;
};

}  // namespace qs

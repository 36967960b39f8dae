#pragma once

namespace qs {

// What of a control or form the program changed, so that a native peer
// updates just that.
enum class Change {
  Geometry,
  Text,      // caption or text
  Value,     // check state or progress value
  Range,     // progress bar limits
  Items,     // combo box list
  Columns,   // list view column headers
  RowCount,  // list view rows appended or removed
  Enabled,
  Visible,
  Pointer,   // form's mouse pointer
};

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Update(Change what, int index) = 0;
};

}  // namespace qs

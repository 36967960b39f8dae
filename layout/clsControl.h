#pragma once

#include <cstdint>

namespace qs {

class Control;

// One laid-out control: where it stood when the layout was set up, and the
// shares of the window's growth by which it moves and stretches.
struct clsControl {
  std::int32_t StartLeft = 0;
  std::int32_t StartTop = 0;
  std::int32_t StartWidth = 0;
  std::int32_t StartHeight = 0;
  double X = 0;
  double Y = 0;
  double W = 0;
  double H = 0;
  Control* Ctrl = nullptr;
};

}  // namespace qs

#pragma once
// Where a form's window opens: near the window it belongs to, and whole on
// the screen's work area.

#include <windows.h>

namespace qs::win32 {

// A window of the given size centred on the reference window, or beside it
// (to its right, below it, to its left or above it: the first side with room)
// so that it hides none of it; moved onto the work area where it would reach
// beyond it.
RECT PlaceNear(SIZE size, const RECT& reference, const RECT& work, bool beside);

}  // namespace qs::win32

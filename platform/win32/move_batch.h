#pragma once
// Child windows moved together: the system places them all at once when the
// batch ends, so that none is drawn at a place it is about to leave. Their
// old pixels are not carried along: what lay under or over them a moment ago
// (a neighbour's scroll bar) must not show in their new place.

#include <windows.h>

namespace qs::win32 {

class MoveBatch {
 public:
  explicit MoveBatch(int expected) : positions_(BeginDeferWindowPos(expected)) {}
  ~MoveBatch() {
    if (positions_) EndDeferWindowPos(positions_);
  }
  MoveBatch(const MoveBatch&) = delete;
  MoveBatch& operator=(const MoveBatch&) = delete;

  void Move(HWND child, const RECT& to) {
    const int width = to.right - to.left, height = to.bottom - to.top;
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (positions_) {
      positions_ =
          DeferWindowPos(positions_, child, nullptr, to.left, to.top, width, height, kFlags);
    }
    // A batch the system could not grow is gone: the rest move one by one.
    if (!positions_) SetWindowPos(child, nullptr, to.left, to.top, width, height, kFlags);
  }

 private:
  HDWP positions_;
};

}  // namespace qs::win32

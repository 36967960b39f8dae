#include "platform/win32/window_placement.h"

#include <algorithm>

namespace qs::win32 {

namespace {

RECT At(LONG left, LONG top, SIZE size) { return {left, top, left + size.cx, top + size.cy}; }

bool Within(const RECT& place, const RECT& work) {
  return place.left >= work.left && place.top >= work.top && place.right <= work.right &&
         place.bottom <= work.bottom;
}

// The nearest place to the one asked for that lies on the work area; a
// window larger than the area keeps its top-left corner on it.
RECT OntoWork(const RECT& place, const RECT& work) {
  const SIZE size{place.right - place.left, place.bottom - place.top};
  const LONG left = std::max(work.left, std::min(place.left, work.right - size.cx));
  const LONG top = std::max(work.top, std::min(place.top, work.bottom - size.cy));
  return At(left, top, size);
}

}  // namespace

RECT PlaceNear(SIZE size, const RECT& reference, const RECT& work, bool beside) {
  const LONG centre_left = reference.left + (reference.right - reference.left - size.cx) / 2;
  const LONG centre_top = reference.top + (reference.bottom - reference.top - size.cy) / 2;
  const RECT centred = At(centre_left, centre_top, size);
  if (!beside) return OntoWork(centred, work);
  const RECT sides[] = {
      At(reference.right, reference.top, size),
      At(reference.left, reference.bottom, size),
      At(reference.left - size.cx, reference.top, size),
      At(reference.left, reference.top - size.cy, size),
  };
  for (const RECT& side : sides)
    if (Within(side, work)) return side;
  // No side has room: below, pushed up onto the screen, hides the least of
  // the top of the reference window.
  return OntoWork(sides[1], work);
}

}  // namespace qs::win32

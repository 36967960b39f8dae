#include "platform/win32/caption_room.h"

#include <algorithm>

namespace qs::win32 {

namespace {

bool Free(const RECT& place, const RECT& bounds, const std::vector<RECT>& taken) {
  if (place.left < bounds.left || place.top < bounds.top || place.right > bounds.right ||
      place.bottom > bounds.bottom)
    return false;
  RECT overlap{};
  return std::none_of(taken.begin(), taken.end(),
                      [&](const RECT& other) { return IntersectRect(&overlap, &place, &other); });
}

}  // namespace

RECT RoomForCaption(const RECT& designed, const CaptionNeeds& needs, const RECT& bounds,
                    const std::vector<RECT>& taken) {
  const int width = designed.right - designed.left;
  const int height = designed.bottom - designed.top;
  if (needs.line.cx <= width && needs.line.cy <= height) return designed;
  const LONG bottom = designed.top + std::max<LONG>(height, needs.line.cy);
  const LONG right = designed.left + std::max<LONG>(width, needs.line.cx);
  const LONG left = designed.right - std::max<LONG>(width, needs.line.cx);
  const RECT candidates[] = {
      {designed.left, designed.top, right, bottom},
      {left, designed.top, designed.right, bottom},
  };
  for (const RECT& place : candidates)
    if (Free(place, bounds, taken)) return place;
  if (needs.wrapped_height > 0) {
    const RECT taller{designed.left, designed.top, designed.right,
                      designed.top + std::max(height, needs.wrapped_height)};
    if (Free(taller, bounds, taken)) return taller;
  }
  return designed;
}

}  // namespace qs::win32

#pragma once
// Where a control whose caption needs more room than the design gave it takes
// that room: in space no other control uses, never beyond its frame or the
// window, and only as far as the caption needs.

#include <windows.h>

#include <vector>

namespace qs::win32 {

struct CaptionNeeds {
  SIZE line;               // the caption on one line
  int wrapped_height = 0;  // broken into lines of the designed width; 0: it cannot wrap
};

// The designed place when the caption fits it. Otherwise the first of these
// that lies within bounds and meets none of taken: widened to the right,
// widened to the left (keeping its right edge), made taller with the caption
// wrapped. Where none does, the designed place.
RECT RoomForCaption(const RECT& designed, const CaptionNeeds& needs, const RECT& bounds,
                    const std::vector<RECT>& taken);

}  // namespace qs::win32

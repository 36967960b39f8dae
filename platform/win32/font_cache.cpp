#include "platform/win32/font_cache.h"

#include <cmath>

#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {

// Pitch and family tell the font mapper what to take where the face itself is
// missing: a monospaced list must not fall back to a proportional font.
BYTE PitchAndFamily(Font::Family family) {
  return family == Font::Family::Monospace ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
}

}  // namespace

HFONT FontCache::Get(const Font& font, int dpi) {
  // A negative height asks for the character height without internal leading,
  // which is what a size in points means.
  const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
  auto& slot = fonts_[{font.name, height, font.family}];
  if (!slot) {
    slot.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           PitchAndFamily(font.family), ToUtf16(font.name).c_str()));
  }
  return slot.get();
}

}  // namespace qs::win32

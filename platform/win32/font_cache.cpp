#include "platform/win32/font_cache.h"

#include <cmath>

#include "platform/win32/utf16.h"

namespace qs::win32 {

HFONT FontCache::Get(const Font& font, int dpi) {
  // A negative height asks for the character height without internal leading,
  // which is what a size in points means.
  const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
  auto& slot = fonts_[{font.name, height}];
  if (!slot) {
    slot.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, ToUtf16(font.name).c_str()));
  }
  return slot.get();
}

}  // namespace qs::win32

#include "platform/win32/text_extent.h"

namespace qs::win32 {

namespace {

// A device context of the screen with a font selected into it, given back
// and restored however the measuring ends.
class ScreenFontContext {
 public:
  explicit ScreenFontContext(HFONT font)
      : dc_(GetDC(nullptr)), old_(dc_ ? SelectObject(dc_, font) : nullptr) {}
  ~ScreenFontContext() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  ScreenFontContext(const ScreenFontContext&) = delete;
  ScreenFontContext& operator=(const ScreenFontContext&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

SIZE Measure(HFONT font, const std::wstring& text, int width, UINT format) {
  ScreenFontContext context(font);
  if (!context.Get()) return {0, 0};
  RECT room{0, 0, width, 0};
  // An empty text still takes one line's height, as a caption does.
  const std::wstring measured = text.empty() ? L" " : text;
  DrawTextW(context.Get(), measured.c_str(), static_cast<int>(measured.size()), &room,
            format | DT_CALCRECT | DT_EXPANDTABS);
  return {text.empty() ? 0 : room.right - room.left, room.bottom - room.top};
}

}  // namespace

SIZE LineExtent(HFONT font, const std::wstring& text) {
  return Measure(font, text, 0, DT_SINGLELINE);
}

SIZE WrappedExtent(HFONT font, const std::wstring& text, int width) {
  return Measure(font, text, width, DT_WORDBREAK);
}

}  // namespace qs::win32

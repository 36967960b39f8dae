#pragma once
// Control geometry is kept in twips (1440 to the inch); a window's pixels
// depend on the DPI of the screen it is on.

#include <windows.h>

namespace qs::win32 {

constexpr int kTwipsPerInch = 1440;

// The window's DPI where the system reports it per window, else the screen's.
int WindowDpi(HWND window);

inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }
inline int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, kTwipsPerInch, dpi); }

}  // namespace qs::win32

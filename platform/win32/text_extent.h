#pragma once
// How much room a text takes on the screen in a given font, laid out as the
// system's own controls lay out their captions.

#include <windows.h>

#include <string>

namespace qs::win32 {

// The text on one line; an "&" marks the next character's access key and
// takes no room, as in a caption.
SIZE LineExtent(HFONT font, const std::wstring& text);
// The text broken at blanks into lines of at most width pixels, as a label
// breaks its caption.
SIZE WrappedExtent(HFONT font, const std::wstring& text, int width);

}  // namespace qs::win32

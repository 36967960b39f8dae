#pragma once
// The fonts of one window, made once per face and size and deleted with the
// window.

#include <map>
#include <string>
#include <tuple>

#include "platform/controls.h"
#include "platform/win32/handles.h"

namespace qs::win32 {

class FontCache {
 public:
  HFONT Get(const Font& font, int dpi);

 private:
  std::map<std::tuple<std::string, int, Font::Family>, UniqueFont> fonts_;
};

}  // namespace qs::win32

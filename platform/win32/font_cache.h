#pragma once
// The fonts of one window, made once per face and size and deleted with the
// window.

#include <map>
#include <string>
#include <utility>

#include "platform/controls.h"
#include "platform/win32/handles.h"

namespace qs::win32 {

class FontCache {
 public:
  HFONT Get(const Font& font, int dpi);

 private:
  std::map<std::pair<std::string, int>, UniqueFont> fonts_;
};

}  // namespace qs::win32

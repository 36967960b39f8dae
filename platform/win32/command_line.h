#pragma once

#include <string_view>

namespace qs::win32 {

// What follows the program's own name (quoted or not) and the blanks after
// it in a command line as the system hands it over, untouched.
std::wstring_view ArgumentsPart(std::wstring_view line);

}  // namespace qs::win32

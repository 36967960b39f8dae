#pragma once
// Text for files that other programs read in the system's own encoding.

#include <string>
#include <string_view>

namespace qs {

// The UTF-8 text in the system's ANSI code page on Windows, elsewhere in the
// character set of the user's locale (UTF-8 when the locale names none, as
// the C locale does). A character the target cannot hold becomes "?".
std::string ToSystemCharset(std::string_view utf8);

}  // namespace qs

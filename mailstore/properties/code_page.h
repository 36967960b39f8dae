#pragma once
// Texts of Outlook's properties in UTF-8: the Unicode ones are UTF-16, the
// older (ANSI) ones are in a Windows code page, which the system converts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

inline constexpr std::uint32_t kWindows1252 = 1252;

// Bytes in a Windows code page to UTF-8. A code page the system cannot
// convert is read as Windows-1252; a byte the code page does not define
// becomes U+FFFD.
std::string CodePageToUtf8(std::string_view bytes, std::uint32_t code_page);

// Whether the system can convert the code page.
bool KnownCodePage(std::uint32_t code_page);

// The system's ANSI code page: the one the user's locale names where it is
// a Windows code page, else Windows-1252.
std::uint32_t SystemAnsiCodePage();

// The code page a setting names: its number ("1251"), spaces around it
// allowed; nothing when that is no number or no code page known here.
std::optional<std::uint32_t> CodePageSetting(std::string_view text);

}  // namespace qs

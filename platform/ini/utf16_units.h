#pragma once
// Counting UTF-8 text in the units the Windows profile calls count: UTF-16
// code units (a code point above U+FFFF takes two).

#include <cstddef>
#include <string>
#include <string_view>

namespace qs::ini {

std::size_t Utf16Length(std::string_view text);

// The longest prefix of text that takes at most units UTF-16 code units and
// does not end inside a code point.
std::string_view Utf16Prefix(std::string_view text, std::size_t units);

}  // namespace qs::ini

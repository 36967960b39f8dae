#pragma once
// Counting UTF-8 text in characters as the program counts them: one UTF-16
// code unit each, so a code point above U+FFFF counts two. A cut never
// splits a code point.

#include <cstddef>
#include <string_view>

namespace qs {

std::size_t Utf16Length(std::string_view text);

// The longest prefix of at most units UTF-16 code units.
std::string_view Utf16Prefix(std::string_view text, std::size_t units);

// The text from UTF-16 position units on (counted from 0); a code point that
// the position would split is dropped whole.
std::string_view Utf16Suffix(std::string_view text, std::size_t units);

// The bytes of the code point that starts at the front of the text (one byte
// for a byte that starts no valid sequence).
std::size_t CodePointBytes(std::string_view text);

}  // namespace qs

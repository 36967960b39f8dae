#pragma once
// The program's text helpers. Text is UTF-8 throughout; where the program
// counts characters (clipping, name limits, the profile calls' buffers) it
// counts UTF-16 code units, as Windows does, so a code point above U+FFFF
// counts two. A cut never splits a code point. A byte that starts no valid
// sequence counts as one character of its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace qs {

// Letter case of ASCII letters only: other bytes, UTF-8 sequences among
// them, stay as they are, whatever the locale.
char AsciiLower(char c);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

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

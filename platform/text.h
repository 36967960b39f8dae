#pragma once
// The program's text helpers. Text is UTF-8 throughout; where the program
// counts characters (clipping, name limits, the profile calls' buffers) it
// counts UTF-16 code units, as Windows does, so a code point above U+FFFF
// counts two. A cut never splits a code point. A byte that starts no valid
// sequence counts as one character of its own.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// Letter case of ASCII letters only: other bytes, UTF-8 sequences among
// them, stay as they are, whatever the locale.
char AsciiLower(char c);
std::string AsciiLower(std::string_view text);
char AsciiUpper(char c);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text without the blanks (spaces and tabs) at either end.
std::string_view TrimBlanks(std::string_view text);

// The text with each tab and line break (CR, LF) turned into a blank, so
// that it is one field of a tab-separated line.
std::string OnOneLine(std::string text);

// The byte that the text's first two characters write as hexadecimal digits
// (in either letter case); none when the text does not start with two.
std::optional<char> HexByte(std::string_view text);

// Writes each byte as two upper-case hexadecimal digits at out, which has
// room for twice the bytes; says where the digits end.
char* WriteHexDigits(std::string_view bytes, char* out);

// Appends "%" and the byte as two upper-case hexadecimal digits.
void AppendPercentEscape(std::string& out, char byte);
// The text with each "%" and two hexadecimal digits turned into their byte;
// a "%" without them stays as it is.
std::string PercentDecoded(std::string_view text);

// A decimal number at the front of a text, rounded to a whole number with a
// half going to the even one. The number is an optional sign, then digits
// with at most one decimal point among or after them, at least one digit in
// all ("5." and ".5" are numbers, "." is none); where exponents are allowed,
// an "e" or "E" with an optional sign and at least one digit belongs to it
// too. Nothing in front of it is skipped, not even a blank, and what follows
// it is the caller's to judge: a text is one number whole when the number's
// length is the text's size. The number is taken as its nearest double
// before it is rounded, as the runtime converts a text to a whole number:
// "2.5" gives 2, "3.5" 4, "-0.5" -0 (which is not below 0), "1e999"
// infinity; past some 15 significant digits the double decides a half.
enum class NumberExponent { kNone, kAllowed };
struct RoundedNumber {
  std::size_t length = 0;  // of the number in bytes: 0 when the text begins with none
  double whole = 0;        // 0 when there is none
};
RoundedNumber ReadRoundedNumber(std::string_view text,
                                NumberExponent exponent = NumberExponent::kNone);

std::size_t Utf16Length(std::string_view text);

// The longest prefix of at most units UTF-16 code units.
std::string_view Utf16Prefix(std::string_view text, std::size_t units);

// The text from UTF-16 position units on (counted from 0); a code point that
// the position would split is dropped whole.
std::string_view Utf16Suffix(std::string_view text, std::size_t units);

// One UTF-8 sequence at the front of a text. A byte that starts no valid
// shortest-form sequence of a Unicode scalar value (a lone continuation byte,
// an overlong form, a surrogate, a value above U+10FFFF, a sequence broken or
// cut short) is invalid: it reads as U+FFFD and takes one byte.
struct Utf8Sequence {
  char32_t code_point = 0;
  std::size_t bytes = 0;  // 0 only for an empty text
  bool valid = false;
  // Invalid only because the text ends: a valid start of a longer sequence.
  bool cut = false;
};
Utf8Sequence DecodeUtf8(std::string_view text);

// The bytes of the code point that starts at the front of the text (one byte
// for a byte that starts no valid sequence).
std::size_t CodePointBytes(std::string_view text);

// Appends a code point (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-8 to UTF-16, as code units or as little-endian bytes; a byte that
// starts no valid UTF-8 sequence becomes U+FFFD.
std::u16string Utf16Of(std::string_view utf8);
std::string Utf16LeOf(std::string_view utf8);

// UTF-16 to UTF-8; a surrogate that is not half of a pair becomes U+FFFD.
// Of bytes, each two little-endian are a unit, and an odd last byte is no
// character and is dropped.
std::string Utf8OfUtf16(std::u16string_view utf16);
std::string Utf8OfUtf16Le(std::string_view bytes);

}  // namespace qs

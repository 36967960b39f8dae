#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/case_folding.h"

namespace qs {
namespace {

// Only shortest forms of scalar values are characters; every other lead
// byte is one invalid byte, and a valid start that the text ends is "cut".
TEST(Text, DecodesOnlyValidShortestFormUtf8) {
  const struct {
    std::string_view text;
    char32_t code_point;
    bool cut;
  } cases[] = {{"\xC3\xA9", U'\u00E9', false},     {"\xF4\x8F\xBF\xBF", U'\U0010FFFF', false},
               {"\xE0\x80\xAF", 0xFFFD, false},    {"\xED\xA0\x80", 0xFFFD, false},  // overlong, surrogate
               {"\xF4\x90\x80\x80", 0xFFFD, false}, {"\x80", 0xFFFD, false},
               {"\xE2\x82", 0xFFFD, true},         {"\xE2\x41", 0xFFFD, false}};
  for (const auto& c : cases) {
    const Utf8Sequence read = DecodeUtf8(c.text);
    EXPECT_EQ(read.code_point, c.code_point) << c.text;
    EXPECT_EQ(read.bytes, read.valid ? c.text.size() : 1u) << c.text;
    EXPECT_EQ(read.cut, c.cut) << c.text;
    EXPECT_EQ(read.valid, c.code_point != 0xFFFD) << c.text;
    std::string again;
    if (read.valid) AppendUtf8(again, read.code_point);
    EXPECT_EQ(again, read.valid ? c.text : "") << c.text;
  }
}

// Each code point by its simple folding, whatever its script, even when the
// folding is upper case or shorter in UTF-8; what is no UTF-8 stays.
TEST(Text, FoldsCaseOneCodePointForOne) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"Report MAY.TXT", "report may.txt"},
      {"\xC3\x84rger \xC3\x9E\xC4\x80\xC4\x81", "\xC3\xA4rger \xC3\xBE\xC4\x81\xC4\x81"},  // Ärger ÞĀā
      {"Stra\xC3\x9F" "e \xE1\xBA\x9E", "stra\xC3\x9F" "e \xC3\x9F"},  // ß stays, ẞ is ß
      {"\xD4\xB1\xD5\xA1", "\xD5\xA1\xD5\xA1"},               // Armenian Աա
      {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},               // Deseret 𐐀
      {"\xEA\xAD\xB0\xE2\x84\xAA", "\xE1\x8E\xA0k"},          // Cherokee ꭰ, Kelvin sign
      {"\xC4\xB0\xCF\x82", "\xC4\xB0\xCF\x83"},               // İ has no simple folding; ς is σ
      {"\xC3\x28\xC3\x84\xE2\x82", "\xC3\x28\xC3\xA4\xE2\x82"}};
  for (const auto& [text, folded] : cases) EXPECT_EQ(FoldCase(text), folded) << text;
}

// The nearest double, rounded half to even; the length tells the number
// from what follows it.
TEST(Text, ReadsNumbersRoundedHalfToEven) {
  constexpr auto kNone = NumberExponent::kNone, kAllowed = NumberExponent::kAllowed;
  const struct {
    std::string_view text;
    NumberExponent exponent;
    std::size_t length;
    double whole;
  } cases[] = {{"2.5", kNone, 3, 2},       {"3.5 ", kNone, 3, 4},     {"-0.5", kNone, 4, -0.0},
               {"+.5x", kNone, 3, 0},      {"5.", kNone, 2, 5},       {"4.50001", kNone, 7, 5},
               {"1.2.3", kNone, 3, 1},     {"-2.51", kNone, 5, -3},   {".", kNone, 0, 0},
               {"-", kNone, 0, 0},         {" 1", kNone, 0, 0},       {"1e3", kNone, 1, 1},
               {"1e3", kAllowed, 3, 1000}, {"5.E-1x", kAllowed, 5, 0}, {"2e+", kAllowed, 1, 2},
               {"-1e999", kAllowed, 6, -INFINITY}, {"100000000000000000000", kNone, 21, 1e20}};
  for (const auto& c : cases) {
    const RoundedNumber read = ReadRoundedNumber(c.text, c.exponent);
    EXPECT_EQ(read.length, c.length) << c.text;
    EXPECT_EQ(read.whole, c.whole) << c.text;
    EXPECT_EQ(std::signbit(read.whole), std::signbit(c.whole)) << c.text;
  }
}

// Surrogate pairs above U+FFFF, little-endian bytes; what is no character
// either way becomes U+FFFD, and an odd last byte is dropped.
TEST(Text, CodesUtf16BothWays) {
  const std::pair<std::string_view, std::u16string_view> both_ways[] = {
      {"a\xC3\xA9\xE2\x82\xAC", u"a\u00E9\u20AC"}, {"\xF0\x9F\x98\x80", u"\U0001F600"}, {"", u""}};
  for (const auto& [utf8, utf16] : both_ways) {
    EXPECT_EQ(Utf16Of(utf8), utf16) << utf8;
    EXPECT_EQ(Utf8OfUtf16(utf16), utf8) << utf8;
    EXPECT_EQ(Utf8OfUtf16Le(Utf16LeOf(utf8)), utf8) << utf8;
  }
  EXPECT_EQ(Utf16Of("\xE2\x82" "a\xED\xA0\x80"), u"\uFFFD\uFFFDa\uFFFD\uFFFD\uFFFD");
  const char16_t lone[] = {0xDE00, u'a', 0xD83D, u'b', 0xD83D};
  EXPECT_EQ(Utf8OfUtf16(std::u16string_view(lone, 5)), "\xEF\xBF\xBD" "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(Utf16LeOf("a\xF0\x9F\x98\x80"), std::string_view("a\0\x3D\xD8\x00\xDE", 6));
  EXPECT_EQ(Utf8OfUtf16Le(std::string_view("\x3D\xD8" "a\0\x3D\xD8\x00\xDE" "b", 9)),
            "\xEF\xBF\xBD" "a\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace qs

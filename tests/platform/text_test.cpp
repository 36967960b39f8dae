#include "platform/text.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

// "é" takes 2 bytes and one unit, "😀" 4 bytes and two units; a lead byte
// whose continuation is missing is one character of its own, so "\xC3" "A"
// is two characters, not one of two bytes.
TEST(Text, CountsAndCutsInUtf16UnitsWithoutSplittingACodePoint) {
  const struct {
    std::string_view text;
    std::size_t length;
    std::size_t units;
    std::string_view prefix;
  } cases[] = {
      {"abc", 3, 2, "ab"},
      {"\xC3\xA9t\xC3\xA9", 3, 2, "\xC3\xA9t"},
      {"a\xF0\x9F\x98\x80", 3, 2, "a"},
      {"\xC3" "A", 2, 1, "\xC3"},
      {"\xE2\x82", 2, 1, "\xE2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16Length(c.text), c.length) << c.text;
    EXPECT_EQ(Utf16Prefix(c.text, c.units), c.prefix) << c.text;
  }
  EXPECT_EQ(Utf16Suffix("a\xF0\x9F\x98\x80z", 2), "z") << "a split code point goes whole";
}

// Only shortest forms of scalar values are characters; every other lead byte
// is one invalid byte, and a valid start that the text ends is "cut".
TEST(Text, DecodesOnlyValidShortestFormUtf8) {
  const struct {
    std::string_view text;
    char32_t code_point;
    std::size_t bytes;
    bool cut;
  } cases[] = {
      {"A", U'A', 1, false},
      {"\xC3\xA9", U'\u00E9', 2, false},
      {"\xF4\x8F\xBF\xBF", U'\U0010FFFF', 4, false},
      {"\xC0\x80", 0xFFFD, 1, false},          // overlong NUL
      {"\xE0\x80\xAF", 0xFFFD, 1, false},      // overlong "/"
      {"\xF0\x80\x80\xAF", 0xFFFD, 1, false},  // overlong "/"
      {"\xED\xA0\x80", 0xFFFD, 1, false},      // a surrogate
      {"\xF4\x90\x80\x80", 0xFFFD, 1, false},  // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", 0xFFFD, 1, false},
      {"\x80", 0xFFFD, 1, false},
      {"\xE2\x82", 0xFFFD, 1, true},
      {"\xE2\x41", 0xFFFD, 1, false},
  };
  for (const auto& c : cases) {
    const Utf8Sequence read = DecodeUtf8(c.text);
    EXPECT_EQ(read.code_point, c.code_point) << c.text;
    EXPECT_EQ(read.bytes, c.bytes) << c.text;
    EXPECT_EQ(read.cut, c.cut) << c.text;
    EXPECT_EQ(read.valid, c.code_point != 0xFFFD) << c.text;
    if (read.valid) {
      std::string again;
      AppendUtf8(again, read.code_point);
      EXPECT_EQ(again, c.text);
    }
  }
  EXPECT_EQ(Utf16Length("\xC0\x80"), 2u) << "an overlong form is two invalid bytes";
}

TEST(Text, AsciiCaseAndBlanksLeaveOtherBytesAlone) {
  EXPECT_EQ(AsciiLower("MiXed \xC3\x89"), "mixed \xC3\x89");
  EXPECT_EQ(AsciiUpper("MiXed \xC3\xA9"), "MIXED \xC3\xA9");
  EXPECT_EQ(TrimBlanks(" \t a b\t "), "a b");
  EXPECT_EQ(TrimBlanks(" \r\n "), "\r\n");
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Content-Type", "content-TYPE"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));
}

}  // namespace
}  // namespace qs

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

TEST(Text, AsciiCaseLeavesOtherBytesAlone) {
  EXPECT_EQ(AsciiLower("MiXed \xC3\x89"), "mixed \xC3\x89");
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Content-Type", "content-TYPE"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));
}

}  // namespace
}  // namespace qs

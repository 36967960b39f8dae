#include "platform/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qs

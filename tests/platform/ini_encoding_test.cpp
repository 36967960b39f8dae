#include "platform/ini/ini_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::ini {
namespace {

const std::string kMark = "\xFF\xFE";
const std::string kReplacement = "\xEF\xBF\xBD";

TEST(IniEncoding, Utf16FilesDecodeWithBrokenUnitsReplaced) {
  const struct {
    std::string bytes, text;
  } cases[] = {
      {kMark + std::string("k\0=\0\xE9\0", 6), "k=\xC3\xA9"},
      {kMark + std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"},
      {kMark + std::string("a\0\x3D\xD8" "b\0", 6), "a" + kReplacement + "b"},
      {kMark + std::string("\x00\xDE\x3D\xD8", 4), kReplacement + kReplacement},
      {kMark + std::string("a\0z", 3), "a"},
  };
  for (const auto& c : cases) {
    const auto decoded = DecodeFileText(c.bytes);
    EXPECT_EQ(decoded.encoding, FileEncoding::kUtf16Le);
    EXPECT_EQ(decoded.text, c.text) << c.text;
  }
}

TEST(IniEncoding, Utf16FilesEncodeWithInvalidUtf8Replaced) {
  const struct {
    std::string text, bytes;
  } cases[] = {
      {"k=\xC3\xA9\r\n", kMark + std::string("k\0=\0\xE9\0\r\0\n\0", 10)},
      {"\xF0\x9F\x98\x80", kMark + std::string("\x3D\xD8\x00\xDE", 4)},
      {"\xFF" "a", kMark + std::string("\xFD\xFF" "a\0", 4)},
      {"\xC0\x80", kMark + "\xFD\xFF\xFD\xFF"},
      {"\xED\xA0\x80", kMark + "\xFD\xFF\xFD\xFF\xFD\xFF"},
      {"\xE2\x82", kMark + "\xFD\xFF\xFD\xFF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EncodeFileText(c.text, FileEncoding::kUtf16Le), c.bytes) << c.text;
}

TEST(IniEncoding, OtherFilesPassThroughUntouched) {
  for (const std::string bytes : {"\xEF\xBB\xBF[A]\r\n", "\xFE\xFF[A]", "[A]\xFF\xFE", ""}) {
    const auto decoded = DecodeFileText(bytes);
    EXPECT_EQ(decoded.encoding, FileEncoding::kAsIs);
    EXPECT_EQ(EncodeFileText(decoded.text, decoded.encoding), bytes);
  }
}

}  // namespace
}  // namespace qs::ini

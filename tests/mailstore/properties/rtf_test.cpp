#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "mailstore/properties/code_page.h"
#include "mailstore/properties/compressed_rtf.h"
#include "mailstore/properties/rtf_text.h"

namespace qs {
namespace {

std::string Header(std::uint32_t stored, std::uint32_t raw, const char* type) {
  std::string header;
  for (const std::uint32_t value : {stored, raw})
    for (int shift = 0; shift < 32; shift += 8) header += static_cast<char>(value >> shift);
  return header + type + std::string(4, '\0');
}

// A stream as Outlook writes it (literals and references into the text the
// dictionary starts with) and an uncompressed one; the property fuzzer holds
// damaged streams to their bounds.
TEST(CompressedRtf, ReadsBothStoredForms) {
  const struct {
    std::string stored;
    std::optional<std::string> rtf;
  } rows[] = {
      {Header(0x2D, 0x2B, "LZFu") +
           std::string("\x03\x00\x0a\x00\x72\x63\x70\x67\x31\x32\x35\x42\x32\x0a\xf3"
                       "\x20\x68\x65\x6c\x09\x00\x20\x62\x77\x05\xb0\x6c\x64\x7d\x0a\x80"
                       "\x0f\xa0", 33),
       "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n"},
      // A reference of 6 bytes to the dictionary's start, two literals, the end; the declared size
      // bounds the text.
      {Header(12 + 7, 3, "LZFu") + std::string("\x09\x00\x04xy\x0d\x70", 7), "{\\r"},
      {Header(12 + 7, 7, "MELA") + "{\\rtf1}", "{\\rtf1}"},  // uncompressed, with a zero checksum
      {Header(12 + 7, 7, "ABCD") + "{\\rtf1}", std::nullopt},
      {"LZFu", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(DecompressRtf(row.stored), row.rtf) << row.stored.size();
}

TEST(RtfText, TextHtmlAndWrappedBodies) {
  const struct {
    const char* name;
    const char* rtf;
    RtfText::Kind kind;
    const char* text;
  } cases[] = {
      {"plain text, destinations left out",
       "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}"
       "{\\*\\generator Riched20;}\\pard Hello\\par World\\tab!\\line{\\b bold}}",
       RtfText::Kind::Text, "Hello\r\nWorld\t!\r\nbold"},
      {"escapes, code page bytes and Unicode with fallbacks",
       "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\{x\\} \\\\ \\u8364?\\uc2\\u8220\\'93\\'93 "
       "\\uc1\\u-10179?\\u-8704?}",
       RtfText::Kind::Text, "café {x} \\ €“ \xF0\x9F\x98\x80"},
      {"a document's own code page",
       "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'ed\\'ed\\'e0}", RtfText::Kind::Text, "Анна"},
      {"wrapped HTML: tags kept, RTF for the look left out",
       "{\\rtf1\\ansi\\fbidis\\ansicpg1252\\fromhtml1 {\\fonttbl{\\f0 Arial;}}"
       "{\\*\\htmltag19 <html>}{\\*\\htmltag34 <head>}\\htmlrtf {\\b \\htmlrtf0 "
       "{\\*\\htmltag84 <b>}bold{\\*\\htmltag92 </b>}\\htmlrtf }\\htmlrtf0 \\par "
       "{\\*\\mhtmltag84 <img src=\"cid:x\">}{\\*\\htmltag84 <img src=\"a.png\">}"
       "\\htmlrtf x\\htmlrtf0 {\\*\\htmltag27 </html>}}",
       RtfText::Kind::Html, "<html><head><b>bold</b>\r\n<img src=\"a.png\"></html>"},
      {"wrapped text", "{\\rtf1\\ansi\\fromtext {\\*\\htmltag1 <x>}Line\\par\\htmlrtf {\\b}\\htmlrtf0 two}",
       RtfText::Kind::Text, "Line\r\ntwo"},
      {"binary data passed over", "{\\rtf1 a\\bin4 \\'00}b}", RtfText::Kind::Text, "ab"},
  };
  for (const auto& c : cases) {
    const RtfText read = ReadRtfText(c.rtf, kWindows1252);
    EXPECT_EQ(read.kind, c.kind) << c.name;
    EXPECT_EQ(read.text, c.text) << c.name;
  }
}

TEST(CodePage, AnsiTextsBecomeUtf8) {
  EXPECT_EQ(CodePageToUtf8("\x80\x81", 1252), "€\xEF\xBF\xBD");
  EXPECT_EQ(CodePageToUtf8("\x82\xA0", 932), "\xE3\x81\x82");
  EXPECT_EQ(CodePageToUtf8("\xE9", 424242), "é");
}

TEST(CodePage, TheSettingNamesAKnownCodePageByNumber) {
  const std::vector<std::pair<std::string, std::optional<std::uint32_t>>> cases = {
      {"1251", 1251}, {" 932\t", 932}, {"", std::nullopt},      {"12x", std::nullopt},
      {"-1", std::nullopt}, {"424242", std::nullopt}, {"0", std::nullopt}};
  for (const auto& [setting, code_page] : cases) EXPECT_EQ(CodePageSetting(setting), code_page) << setting;
}

}  // namespace
}  // namespace qs

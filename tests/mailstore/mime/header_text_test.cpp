#include "mailstore/mime/header_text.h"

#include "mailstore/mime/header_parameter.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

TEST(HeaderParameter, FindsTheNamedValueWhateverItsQuotesAndNeighbours) {
  const struct {
    std::string_view header, name, value;
  } rows[] = {
      {"text/calendar; method=REQUEST", "method", "REQUEST"},
      {"text/plain; charset=utf-8 ", "Charset", "utf-8"},
      {"attachment; filename=\"a;b.txt\"; size=3", "filename", "a;b.txt"},
      {"text/plain; name=", "name", ""},
      {"text/plain; flowed; NAME = \"x\\\"y\" ", "name", "x\"y"},
      {"text/plain; name=\"cut", "name", "cut"},
  };
  for (const auto& row : rows) EXPECT_EQ(HeaderParameter(row.header, row.name), row.value) << row.header;
}

TEST(HeaderParameter, TextJoinsAndDecodesTheExtendedForms) {
  const struct {
    std::string_view header, text;
  } rows[] = {
      {"attachment; filename*=iso-8859-1'de'Gr%FC%DFe.txt", "Grüße.txt"},
      // Pieces in any order, the encoded ones decoded, the charset from the first.
      {"a; filename*1=\" 2.pdf\"; filename*0*=UTF-8''%C3%A9t%C3%A9", "été 2.pdf"},
      // The extended form wins over a plain value; a broken escape stays.
      {"a; filename=\"old.txt\"; filename*=UTF-8''new%2.txt", "new%2.txt"},
      {"a; filename=\"=?UTF-8?B?w6k=?=.txt\"", "é.txt"},
      {"a; filename=Caf\xE9.txt; filename*x=y", "Café.txt"},
      {"a; name=x.txt", ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ParameterText(row.header, "filename"), row.text) << row.header;
}

TEST(HeaderText, EncodedWordsAndRawBytes) {
  const struct {
    std::string_view raw, text;
  } rows[] = {
      // Words after one that ends in padding are kept (GMime 3.2.13's own decoder drops them).
      {"Re: =?UTF-8?B?YQ==?= und =?UTF-8?B?Yg==?= !", "Re: a und b !"},
      // Blanks between encoded words go; others stay.
      {"=?ISO-8859-1?Q?Caf=E9?=  \t =?ISO-8859-1?Q?_cr=E8me?=", "Café crème"},
      {"Price  list =?UTF-8?Q?2019?=  final", "Price  list 2019  final"},
      // A character split between two words is joined.
      {"=?UTF-8?Q?Caf=C3?= =?UTF-8?Q?=A9?=", "Café"}, {"=?UTF-8?B?w6k=?= =?ISO-8859-1?Q?=E9?=", "éé"},
      {"=?koi8-r?B?8NLJ18XU?=", "Привет"}, {"=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=", "テスト"},
      {"=?UTF-8*de?Q?Gr=C3=BC=C3=9Fe?=", "Grüße"},
      // Broken words stay as written; raw bytes are UTF-8 or else Windows-1252.
      {"=?UTF-8?X?abc?=", "=?UTF-8?X?abc?="}, {"=??Q?x?=", "=??Q?x?="}, {"=?no-such-charset?Q?abc?=", "abc"},
      {"Caf\xE9", "Café"}, {"Grüße", "Grüße"}, {"=?UTF-8?B?/w==?=", "\uFFFD"},
  };
  for (const auto& row : rows) EXPECT_EQ(DecodeHeaderText(row.raw), row.text) << row.raw;
}

// Texts are converted by length: a NUL is a character like any other, in
// every route a body's bytes can take, whole or a byte at a time (the
// converter's state and the sequences the pieces cut carry over).
TEST(HeaderText, ANulIsKeptWhateverTheCharsetAndThePieces) {
  using namespace std::string_literals;
  const auto bytewise = [](std::string bytes) {
    return [bytes](const std::function<void(std::string_view)>& take) {
      for (const char& c : bytes) take(std::string_view(&c, 1));
    };
  };
  const auto made = [](const TextPieces& make) {
    std::string out;
    make([&out](std::string_view piece) { out += piece; });
    return out;
  };
  const struct {
    std::string bytes, charset, utf8;
  } rows[] = {
      {"body\0body"s, "utf-8", "body\0body"s}, {"a\0\xff"s, "utf-8", "a\0\uFFFD"s},
      {"a\x81"s, "windows-1252", "a\uFFFD"s}, {"\xf0\0\xf0"s, "koi8-r", "П\0П"s},
      {"body\0b\xe9"s, "no-such-charset", "body\0bé"s},
      {"b\xc3\xa9\0b\xe9"s, "", "bÃ©\0bé"s},
      {"b\xc3\xa9\0\x81\xe2\x82"s, "", "bé\0\uFFFD\uFFFD\uFFFD"s},
  };
  for (const auto& row : rows) {
    const std::string whole =
        row.charset.empty() ? PlainToUtf8(row.bytes) : CharsetToUtf8(row.bytes, row.charset);
    EXPECT_EQ(whole, row.utf8) << row.charset;
    EXPECT_EQ(made(Utf8AsMade(bytewise(row.bytes), row.charset)), row.utf8) << row.charset;
  }
  EXPECT_EQ(ConvertedAsMade(bytewise("\x1b$B%F%9%H\x1b(B\0"s), "iso-2022-jp"), "テスト\0"s);
  EXPECT_EQ(ConvertedAsMade(bytewise("a\x81"), "windows-1252"), std::nullopt);
  EXPECT_EQ(ConvertedAsMade(bytewise("a"), "utf-8"), std::nullopt);
}

}  // namespace
}  // namespace qs::dirstore

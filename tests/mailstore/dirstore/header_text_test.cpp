#include "mailstore/dirstore/header_text.h"

#include "mailstore/dirstore/header_parameter.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

TEST(HeaderParameter, FindsTheNamedValueWhateverItsQuotesAndNeighbours) {
  const struct {
    std::string_view header, name, value;
  } cases[] = {
      {"text/calendar; method=REQUEST", "method", "REQUEST"},
      {"attachment; filename=\"a;b.txt\"; size=3", "size", "3"},
      {"attachment; filename=\"a;b.txt\"; size=3", "filename", "a;b.txt"},
      {"text/plain; flowed; NAME = \"x\\\"y\" ", "name", "x\"y"},
      {"text/plain; charset=utf-8 ", "Charset", "utf-8"},
      {"text/plain; name=", "name", ""},
      {"text/plain; name=\"cut", "name", "cut"},
      {"text/plain; foo=1", "name", ""},
      {"text/plain", "name", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HeaderParameter(c.header, c.name), c.value) << c.header;
}

TEST(HeaderText, EncodedWordsAfterPaddingAreKept) {
  // GMime 3.2.13's own decoder gives only "a" here.
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?="), "ab");
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?B?R3LDvG5lciA=?= =?UTF-8?B?VGVlOiA=?= =?UTF-8?B?bmV1ZSBQcmVpc2U=?="),
            "Grüner Tee: neue Preise");
  EXPECT_EQ(DecodeHeaderText("Re: =?UTF-8?B?YQ==?= und =?UTF-8?B?Yg==?= !"), "Re: a und b !");
}

TEST(HeaderText, BlanksBetweenEncodedWordsGoButOthersStay) {
  EXPECT_EQ(DecodeHeaderText("=?ISO-8859-1?Q?Caf=E9?=  \t =?ISO-8859-1?Q?_cr=E8me?="), "Café crème");
  EXPECT_EQ(DecodeHeaderText("Price  list =?UTF-8?Q?2019?=  final"), "Price  list 2019  final");
  EXPECT_EQ(DecodeHeaderText("=?utf-8?q?R=C3=A9union_d=27=C3=A9quipe?="), "Réunion d'équipe");
}

TEST(HeaderText, ACharacterSplitBetweenTwoWordsIsJoined) {
  // "é" is C3 A9; the first word ends after C3.
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?Q?Caf=C3?= =?UTF-8?Q?=A9?="), "Café");
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?B?w6k=?= =?ISO-8859-1?Q?=E9?="), "éé");
}

TEST(HeaderText, CharsetsOtherThanUtf8) {
  EXPECT_EQ(DecodeHeaderText("=?koi8-r?B?8NLJ18XU?="), "Привет");
  EXPECT_EQ(DecodeHeaderText("=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?="), "テスト");
  EXPECT_EQ(DecodeHeaderText("=?windows-1252?Q?=93quoted=94?="), "\u201Cquoted\u201D");
  EXPECT_EQ(DecodeHeaderText("=?UTF-8*de?Q?Gr=C3=BC=C3=9Fe?="), "Grüße");
}

// Texts are converted by length: a NUL is a character like any other, in
// every route a body's bytes can take.
TEST(HeaderText, ANulIsKeptWhateverTheCharset) {
  using namespace std::string_literals;
  const struct {
    std::string bytes, charset, utf8;
  } cases[] = {
      {"body\0body"s, "utf-8", "body\0body"s},
      {"a\0\xff"s, "utf-8", "a\0\uFFFD"s},
      {"\xc3\xa9\xe2\x82\xac\xe2\x82"s, "utf-8", "é€\uFFFD\uFFFD"s},
      {"a\x81"s, "windows-1252", "a\uFFFD"s},
      {"body\0b\xe9"s, "iso-8859-1", "body\0bé"s},
      {"\xf0\0\xf0"s, "koi8-r", "П\0П"s},
      {"body\0b\xe9"s, "no-such-charset", "body\0bé"s},
  };
  // Converted piece by piece, a byte at a time: the converter's state and
  // the sequences the pieces cut carry over.
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
  for (const auto& c : cases) {
    EXPECT_EQ(CharsetToUtf8(c.bytes, c.charset), c.utf8) << c.charset;
    EXPECT_EQ(made(Utf8AsMade(bytewise(c.bytes), c.charset)), c.utf8) << c.charset;
  }
  EXPECT_EQ(PlainToUtf8("body\0body"s), "body\0body"s);
  EXPECT_EQ(PlainToUtf8("body\0b\xe9"s), "body\0bé"s);
  EXPECT_EQ(made(Utf8AsMade(bytewise("b\xc3\xa9\0b\xe9"s), "")), "bÃ©\0bé"s);
  EXPECT_EQ(made(Utf8AsMade(bytewise("b\xc3\xa9\0\x81\xe2\x82"s), "")), "bé\0\uFFFD\uFFFD\uFFFD"s);
  EXPECT_EQ(ConvertedAsMade(bytewise("\x1b$B%F%9%H\x1b(B\0"s), "iso-2022-jp"), "テスト\0"s);
  EXPECT_EQ(ConvertedAsMade(bytewise("\xa4\xa2\xa4"), "euc-jp"), "あ");
  EXPECT_EQ(ConvertedAsMade(bytewise("a\x81"), "windows-1252"), std::nullopt);
  EXPECT_EQ(ConvertedAsMade(bytewise("a"), "utf-8"), std::nullopt);
}

TEST(HeaderText, BrokenWordsAndRawBytesNeverFail) {
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?X?abc?="), "=?UTF-8?X?abc?=");
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?Q?unclosed"), "=?UTF-8?Q?unclosed");
  EXPECT_EQ(DecodeHeaderText("=??Q?x?="), "=??Q?x?=");
  EXPECT_EQ(DecodeHeaderText("=?no-such-charset?Q?abc?="), "abc");
  EXPECT_EQ(DecodeHeaderText("Caf\xE9"), "Café");  // raw Latin-1 read as Windows-1252
  EXPECT_EQ(DecodeHeaderText("Grüße"), "Grüße");   // raw UTF-8 (RFC 6532)
  EXPECT_EQ(DecodeHeaderText("=?UTF-8?B?/w==?="), "\uFFFD");
  EXPECT_EQ(DecodeHeaderText(""), "");
}

}  // namespace
}  // namespace qs::dirstore

// The transfer encodings written, read back by the program's own decoders
// (which the MIME reader's tests check against real mail).
#include <gtest/gtest.h>

#include <random>

#include "mailstore/encodings/base64_encoder.h"
#include "mailstore/encodings/quoted_printable_encoder.h"
#include "mailstore/encodings/transfer_encoding.h"

namespace qs {
namespace {

std::string Decoded(std::string_view encoded, TransferEncoding encoding) {
  std::string out;
  WriteDecoded(encoded, encoding, [&out](std::string_view piece) { out += piece; });
  return out;
}

// Every line within max characters, each ended by CRLF.
void ExpectLines(const std::string& encoded, std::size_t max) {
  for (std::size_t start = 0; start < encoded.size();) {
    const std::size_t end = encoded.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "an unended line at " << start;
    EXPECT_LE(end - start, max) << encoded.substr(start, end - start);
    EXPECT_EQ(encoded.substr(start, end - start).find_first_of("\r\n"), std::string::npos);
    start = end + 2;
  }
}

// Any bytes, in pieces of any size, come back whole.
TEST(Encoders, Base64RoundTripsBytesGivenInPieces) {
  std::mt19937 random(7);
  for (const std::size_t size : {0u, 1u, 2u, 3u, 56u, 57u, 58u, 1000u}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    for (const std::size_t piece : {1u, 2u, 5u, 64u}) {
      std::string encoded;
      const ByteSink sink = [&encoded](std::string_view part) { encoded += part; };
      Base64Lines lines(sink);
      for (std::size_t at = 0; at < size; at += piece) lines.Write(std::string_view(bytes).substr(at, piece));
      lines.Finish();
      EXPECT_EQ(Decoded(encoded, TransferEncoding::kBase64), bytes) << size << " in pieces of " << piece;
      ExpectLines(encoded, 76);
    }
  }
  std::string one;
  WriteBase64Lines(HeldBytes("Man"), [&one](std::string_view part) { one += part; });
  EXPECT_EQ(one, "TWFu\r\n");
}

TEST(Encoders, QuotedPrintableEscapesWhatItMustAndKeepsLinesShort) {
  const struct {
    std::string text, encoded;
  } cases[] = {
      {"a=b\n", "a=3Db\r\n"},
      {"crlf\r\nlf\nend", "crlf\r\nlf\r\nend"},
      {"blank at end \nand tab\t", "blank at end=20\r\nand tab=09"},
      {"caf\xc3\xa9 \x01", "caf=C3=A9 =01"},
      {"lone\rcr", "lone=0Dcr"},
      // A line that would end the part is escaped like any other.
      {"--=_Q0_0\n", "--=3D_Q0_0\r\n"},
      {std::string(75, 'x') + "yz", std::string(75, 'x') + "=\r\nyz"},
      {std::string(76, 'x'), std::string(76, 'x')},
      {std::string(74, 'x') + "\xff", std::string(74, 'x') + "=\r\n=FF"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedPrintable(c.text), c.encoded) << c.text;
  std::string long_text;
  for (int i = 0; i < 500; ++i) long_text += i % 7 ? "\xc3\xa9=" : " \n";
  const std::string encoded = QuotedPrintable(long_text + "\n");
  ExpectLines(encoded, 76);
  std::string crlf_text;
  for (const char c : long_text) crlf_text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Decoded(encoded, TransferEncoding::kQuotedPrintable), crlf_text + "\r\n");
}

}  // namespace
}  // namespace qs

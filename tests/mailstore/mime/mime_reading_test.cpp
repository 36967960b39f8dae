#include <gtest/gtest.h>

#include <string>

#include "mailstore/encodings/transfer_encoding.h"
#include "mailstore/message/message_content.h"
#include "mailstore/mime/message_reading.h"
#include "mailstore/mime/mime_tree.h"

namespace qs::dirstore {
namespace {

TEST(TransferEncoding, DecodesLeniently) {
  const struct {
    std::string_view field, body, decoded;
  } rows[] = {
      {" Base64 ", "QUJD\r\nREVG", "ABCDEF"},
      // Pieces encoded one after another, bytes outside the alphabet, a cut group.
      {"base64", "QQ==QUI=", "AAB"}, {"base64", "Q*U!J D", "ABC"}, {"base64", "QUJ", "AB"},
      {"quoted-printable", "a=3Db=3db=ZZ=4", "a=b=b=ZZ=4"},
      {"QUOTED-PRINTABLE", "soft=\r\nbreak= \t\nend=", "softbreakend"},
      {"x-uuencode", "text first\nbegin 644 a.txt\n#86)C\n`\nend\nafter\n", "abc"},
      {"x-uuencode", "+:&5L;&\\@=V]R;&0 \r\n", "hello world"},
      {"8bit", "=41\r\n", "=41\r\n"}, {"x-unknown", "QUJD", "QUJD"},
  };
  for (const auto& row : rows) {
    std::string decoded;
    WriteDecoded(row.body, TransferEncodingOf(row.field),
                 [&decoded](std::string_view piece) { decoded += piece; });
    EXPECT_EQ(decoded, row.decoded) << row.field << ": " << row.body;
    EXPECT_EQ(DecodedSize(row.body, TransferEncodingOf(row.field)), decoded.size()) << row.body;
  }
}

std::string Base64Of(std::string_view bytes) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i + 3 <= bytes.size(); i += 3) {
    const unsigned bits = static_cast<unsigned char>(bytes[i]) << 16 |
                          static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) text += kAlphabet[bits >> shift & 63];
  }
  return text;
}

// Long runs of the alphabet are decoded in blocks: every byte value comes
// out whole, on one line or in lines of 76, and a stray character anywhere
// in a block is passed over as it is elsewhere.
TEST(TransferEncoding, Base64RunsOfEveryByteValue) {
  std::string bytes;
  for (int round = 0; round < 3; ++round)
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value ^ round * 85);
  bytes.resize(bytes.size() / 3 * 3);
  const std::string text = Base64Of(bytes);
  std::string lines;
  for (std::size_t at = 0; at < text.size(); at += 76) lines += text.substr(at, 76) + "\r\n";
  std::vector<std::string> bodies{text, lines};
  // Neighbours of the alphabet, and bytes whose high nibble no sextet has.
  const std::string strays = "*@[`{-_ \x80\xC1\xFF";
  for (std::size_t at = 0; at < 99; ++at)
    bodies.push_back(text.substr(0, at) + strays[at % strays.size()] + text.substr(at));
  for (const std::string& body : bodies) {
    std::string decoded;
    WriteDecoded(body, TransferEncoding::kBase64, [&decoded](std::string_view piece) { decoded += piece; });
    EXPECT_EQ(decoded, bytes) << body.substr(0, 100);
  }
}

std::vector<std::string_view> Bodies(const MimePart& part) {
  std::vector<std::string_view> bodies;
  for (const MimePart& inner : part.parts) bodies.push_back(inner.body);
  return bodies;
}

TEST(MimeTree, BoundaryLinesSplitTheParts) {
  const MimePart mail = ReadMimeTree(
      "From sender@example Mon Jan  1 00:00:00 2024\r\n"
      "Subject : first\r\nsubject: second\r\nContent-Type: multipart/mixed;\r\n"
      " boundary=\"b\"\r\n\r\npreamble\r\n--b\r\n\r\none\r\n\r\n--b-not\r\n--b \t\r\n"
      "Content-Type: text/html\r\n\r\ntwo\r\n--b--\r\nepilogue\r\n");
  EXPECT_EQ(mail.Header("SUBJECT"), "first");
  EXPECT_EQ(Bodies(mail), (std::vector<std::string_view>{"one\r\n\r\n--b-not", "two"}));
  EXPECT_EQ(mail.parts.at(1).type, "text/html");

  // A mail cut off before its closing boundary ends with the data.
  EXPECT_EQ(Bodies(ReadMimeTree("Content-Type: multipart/mixed; boundary=b\n\n--b\n\nx\n")),
            (std::vector<std::string_view>{"x\n"}));
  EXPECT_EQ(ReadMimeTree("From : a@b\n\nx").Header("from"), "a@b");
}

TEST(MimeTree, TypesAndDefaults) {
  const struct {
    std::string_view mail, inner_type;
  } rows[] = {
      {"Content-Type: multipart/digest; boundary=b\n\n--b\n\nx\n--b--\n", "message/rfc822"},
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\n\nx\n--b--\n", "text/plain"},
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: Image/PNG\n\nx\n--b--\n", "image/png"},
      {"Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: image\n\nx\n--b--\n", "text/plain"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ReadMimeTree(row.mail).parts.at(0).type, row.inner_type) << row.mail;
}

// Hostile nesting ends at a fixed depth instead of exhausting the stack.
TEST(MimeTree, NestingIsBounded) {
  std::string multiparts;
  std::string messages;
  for (int i = 0; i < 20000; ++i) {
    multiparts += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\n\n--b" +
                  std::to_string(i) + "\n";
    messages += "Subject: m\nContent-Type: message/rfc822\n\n";
  }
  const MimePart tree = ReadMimeTree(multiparts);
  int depth = 0;
  for (const MimePart* part = &tree; !part->parts.empty(); part = &part->parts.front())
    ++depth;
  EXPECT_EQ(depth, kDeepestMimeNesting);

  depth = 0;
  const MessageContent content = ReadMessageContent(messages);
  for (const MessageContent* message = &content; message && !message->attachments.empty();
       message = message->attachments.front().message.get())
    ++depth;
  EXPECT_EQ(depth, kDeepestMimeNesting + 1);  // the mail and the messages in it
}

}  // namespace
}  // namespace qs::dirstore

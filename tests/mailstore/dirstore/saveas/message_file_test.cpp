#include "mailstore/dirstore/saveas/message_file.h"
#include "mailstore/dirstore/saveas/property_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/saveas/save_message.h"
#include "tests/mailstore/dirstore/saveas/saved_item.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::OutputOf;
using qs::testing::ReadFile;
using qs::testing::TempTree;

const char kMail[] =
    "Date: Tue, 30 Jun 2009 17:00:00 +0000\r\n"
    "From: =?UTF-8?B?SsO8cmdlbg==?= <j@example.org>\r\n"
    "To: Tom <t@example.org>, x@example.org\r\nCc: C <c@example.org>\r\n"
    "Subject: Re: =?UTF-8?B?5rWL6K+V?=\r\nMessage-ID: <id1@example.org>\r\n"
    "Content-Type: multipart/mixed; boundary=B\r\n\r\n"
    "--B\r\nContent-Type: multipart/alternative; boundary=A\r\n\r\n"
    "--A\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nHallo Grüße\r\n"
    "--A\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<p>Hallo Grüße</p>\r\n--A--\r\n"
    "--B\r\nContent-Type: application/octet-stream; name=\"d.bin\"\r\n"
    "Content-Transfer-Encoding: base64\r\n\r\nAAEC/w==\r\n"
    "--B\r\nContent-Type: message/rfc822\r\n\r\n"
    "From: in@example.org\r\nTo: t@example.org\r\nSubject: inner\r\n\r\ninner body\r\n"
    "--B--\r\n";

// The olefile reader, where Debian's python3-olefile is installed.
std::string Python() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command = std::string(python) + " -c 'import olefile' 2>/dev/null";
    if (std::system(command.c_str()) == 0) return python;
  }
  return {};
}


ItemFacts Facts(bool sent) {
  ItemFacts facts;
  facts.sent = sent;
  return facts;
}

TEST(MessageFile, AnIndependentReaderFindsEveryPart) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "python3-olefile is not installed";
  TempTree tree;
  const fs::path path = tree.Root() / "m.msg";
  SaveMessageAs(ReadMessageContent(kMail), Facts(true), path.string(), SaveType::MessageUnicode);
  const std::string report = OutputOf(python + " " + QUILLSTOW_SAVEAS_TEST_DIR "/check_msg.py '" +
                                 path.string() + "'");
  EXPECT_EQ(report,
            "clsid 00020D0B-0000-0000-C000-000000000046\n"
            "class IPM.Note\n"
            "subject Re: 测试|Re: |测试\n"
            "sender Jürgen <j@example.org>\n"
            "to Tom; x@example.org|cc C\n"
            "time 128908548000000000 delivered 128908548000000000 flags 17\n"
            "body 'Hallo Grüße'\n"
            "html b'<meta charset=\"utf-8\">\\n<p>Hallo Gr\\xc3\\xbc\\xc3\\x9fe</p>' cp 65001\n"
            "recipient 1 Tom <t@example.org>\n"
            "recipient 1 x@example.org <x@example.org>\n"
            "recipient 2 C <c@example.org>\n"
            "attachment 1 d.bin application/octet-stream b'\\x00\\x01\\x02\\xff'\n"
            "attachment 5 inner.eml message/rfc822 \n"
            "  class IPM.Note\n"
            "  subject inner||inner\n"
            "  sender in@example.org <in@example.org>\n"
            "  to t@example.org|cc \n"
            "  time None delivered None flags 1\n"
            "  body 'inner body'\n"
            "  recipient 1 t@example.org <t@example.org>\n");
  // libolecf's reader, where installed, walks the same container.
  if (std::system("command -v olecfinfo >/dev/null 2>&1") == 0) {
    const std::string listing = OutputOf("olecfinfo '" + path.string() + "' 2>&1; echo status $?");
    EXPECT_NE(listing.find("__attach_version1.0_#00000001"), std::string::npos) << listing;
    EXPECT_NE(listing.find("__substg1.0_3701000D"), std::string::npos) << listing;
    EXPECT_NE(listing.find("status 0"), std::string::npos) << listing;
  }
}

std::string Base64Lines(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve(bytes.size() / 3 * 4 + bytes.size() / 57 * 2 + 8);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 2]);
    out += kDigits[group >> 18];
    out += kDigits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    if ((i / 3 + 1) % 19 == 0) out += "\r\n";
  }
  return out + "\r\n";
}

// A 50 MB attachment of a draft goes through the whole save: the attachment
// file and the message file's stream (past the mini stream, with the DIFAT
// that files over 7 MB need) hold its exact bytes.
TEST(MessageFile, AFiftyMegabyteAttachmentRoundTrips) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "python3-olefile is not installed";
  TempTree tree;
  std::string big(50 * 1000 * 1000, '\0');
  std::mt19937 random(50);
  for (char& c : big) c = static_cast<char>(random());
  auto item = qs::testing::ItemOf(
      tree, "Subject: draft\r\nContent-Type: multipart/mixed; boundary=B\r\n\r\n--B\r\n"
            "Content-Type: text/plain\r\n\r\nx\r\n--B\r\n"
            "Content-Type: application/octet-stream; name=big.bin\r\n"
            "Content-Transfer-Encoding: base64\r\n\r\n" +
                Base64Lines(big) + "--B--\r\n");
  ASSERT_EQ(item->AttachmentCount(), 1);
  // Without a date or a Received line, the mail arrived when its file was
  // last written: 2020-02-02 02:02:02 UTC.
  const timespec times[2] = {{1580608922, 0}, {1580608922, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (tree.Root() / "Box" / "m.eml").c_str(), times, 0), 0);
  const fs::path file = tree.Root() / "big.bin";
  item->AttachmentAt(1)->SaveAsFile(file.string());
  EXPECT_TRUE(ReadFile(file) == big);
  const fs::path path = tree.Root() / "d.msg";
  item->SaveAs(path.string(), SaveType::Message);
  const std::string again =
      OutputOf(python + " -c \"import olefile,sys; o=olefile.OleFileIO(sys.argv[1]); "
                   "d=o.openstream('__attach_version1.0_#00000000/__substg1.0_37010102').read(); "
                   "print(len(d), d == open(sys.argv[2],'rb').read())\" '" +
          path.string() + "' '" + file.string() + "'");
  EXPECT_EQ(again, "50000000 True\n");
  const std::string flags = OutputOf(python + " " + QUILLSTOW_SAVEAS_TEST_DIR "/check_msg.py '" +
                                path.string() + "' | grep -E 'difat|flags|ERROR'");
  EXPECT_EQ(flags, "difat 6\ntime None delivered 132250825220000000 flags 25\n");
}

// Damaged mail still gives message files that pass the strict check.
TEST(MessageFile, FuzzedMailGivesSoundFiles) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "python3-olefile is not installed";
  TempTree tree;
  std::mt19937 random(20091);
  static constexpr std::string_view kPieces[] = {"\r\n", "=?", "?=", ";", "\"", "--B", "--A",
                                                 "\xff", "\0", "=", "name*=", "\r\n\r\n"};
  std::string files;
  constexpr int kRounds = 300;
  for (int round = 0; round < kRounds; ++round) {
    std::string mail = kMail;
    for (int edit = 0; edit < 6; ++edit) {
      const std::size_t at = random() % mail.size();
      if (random() % 2) {
        mail.insert(at, kPieces[random() % std::size(kPieces)]);
      } else {
        mail.erase(at, random() % 12);
      }
    }
    const fs::path path = tree.Root() / ("f" + std::to_string(round) + ".msg");
    SaveMessageAs(ReadMessageContent(mail), Facts(true), path.string(), SaveType::MessageUnicode);
    files += " '" + path.string() + "'";
  }
  const std::string report =
      OutputOf(python + " " QUILLSTOW_SAVEAS_TEST_DIR "/check_msg.py" + files + " 2>&1");
  std::size_t checked = 0;
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    checked += line.starts_with("== ");
    EXPECT_FALSE(line.starts_with("ERROR")) << line;
  }
  EXPECT_EQ(checked, std::size_t{kRounds}) << report;
}

// A picture that the HTML body shows by its content ID is hidden from the
// attachment list; one the body does not show stays in it.
TEST(MessageFile, PicturesTheHtmlShowsAreHidden) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "python3-olefile is not installed";
  TempTree tree;
  const fs::path path = tree.Root() / "r.msg";
  SaveMessageAs(ReadMessageContent(
                    "Subject: r\nContent-Type: multipart/related; boundary=R\n\n--R\n"
                    "Content-Type: text/html\n\n<img src=\"cid:logo@x\">\n--R\n"
                    "Content-Type: image/gif\nContent-ID: <logo@x>\n\nGIF\n--R\n"
                    "Content-Type: image/gif\nContent-ID: <other@x>\n\nGIF\n--R--\n"),
                Facts(true), path.string(), SaveType::MessageUnicode);
  EXPECT_EQ(OutputOf(python + " " QUILLSTOW_SAVEAS_TEST_DIR "/check_msg.py '" + path.string() +
                     "' | grep -E '^attachment|ERROR'"),
            "attachment 1 ATT00001.gif image/gif b'GIF' hidden\n"
            "attachment 1 ATT00002.gif image/gif b'GIF'\n");
}

TEST(MessageFile, ANulInTheBodyIsKeptInItsStream) {
  using namespace std::string_literals;
  const MessageContent content =
      ReadMessageContent("Subject: s\nContent-Type: text/plain; charset=iso-8859-1\n\nbody\0body\n"s);
  const CompoundEntry root = MessageFileTree(content, Facts(true));
  const auto body = std::find_if(root.children.begin(), root.children.end(),
                                 [](const CompoundEntry& entry) { return entry.name == "__substg1.0_1000001F"; });
  ASSERT_NE(body, root.children.end());
  EXPECT_EQ(WholeBytes(*body->source), Utf16Le("body\0body\r\n"s));
}

TEST(MessageFile, OverTheFormatsLimitsIsRefused) {
  MessageContent content;
  content.to.assign(kMessageFileLimit + 1, Mailbox{"", "a@example.org"});
  EXPECT_THROW(MessageFileTree(content, Facts(true)), MailStoreError);
  content.to.resize(kMessageFileLimit);
  EXPECT_NO_THROW(MessageFileTree(content, Facts(true)));
  content.attachments.resize(kMessageFileLimit + 1);
  EXPECT_THROW(MessageFileTree(content, Facts(true)), MailStoreError);
}

TEST(MessageFile, AFailedWriteThrows) {
  TempTree tree;
  tree.Write("file", "x");
  const fs::path path = tree.Root() / "file" / "m.msg";
  EXPECT_THROW(SaveMessageAs(ReadMessageContent(kMail), Facts(true), path.string(),
                             SaveType::MessageUnicode),
               MailStoreError);
}

}  // namespace
}  // namespace qs::dirstore

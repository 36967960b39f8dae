#include "mailstore/message/message_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <random>
#include <regex>
#include <sstream>

#include "mailstore/dirstore/dir_item.h"
#include "mailstore/message/message_file_bag.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/message/save_message.h"
#include "mailstore/mime/message_reading.h"
#include "tests/common/temp_tree.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::OutputOf;
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
    "--B\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n"
    "Content-Disposition: attachment; filename*=UTF-8''d%C3%A9.bin\r\n\r\nAAEC/w==\r\n"
    "--B\r\nContent-Type: image/png\r\nContent-Disposition: inline\r\n\r\nPNG\r\n"
    "--B\r\nContent-Type: message/rfc822\r\n\r\n"
    "From: in@example.org\r\nTo: t@example.org\r\nSubject: inner\r\n\r\ninner body\r\n"
    "--B--\r\n";

// The Python that has olefile.
const std::string kPython = QUILLSTOW_PYTHON " ";

// The lines that the strict container check (olefile, a reader nobody on
// the team wrote) reads in message files, those that match a pattern where
// one is given. Several files give a block "== <path>" each.
std::string Checked(const std::string& paths, const std::string& pattern = "") {
  std::istringstream read(OutputOf(kPython + QUILLSTOW_CHECK_MSG " " + paths + " 2>&1"));
  const std::regex wanted(pattern);
  std::string kept;
  for (std::string line; std::getline(read, line);)
    if (pattern.empty() || std::regex_search(line, wanted)) kept += line + "\n";
  return kept;
}

std::string Saved(const TempTree& tree, std::string_view mail, const std::string& name) {
  const fs::path path = tree.Root() / name;
  SaveMessageAs(ReadMessageContent(mail), ItemFacts{}, path.string(), SaveType::MessageUnicode);
  return "'" + path.string() + "'";
}

// Every part of the mail: the attachments named by RFC 2231, numbered when
// they have no name, an attached message named by its subject.
TEST(MessageFile, AnIndependentReaderFindsEveryPart) {
  TempTree tree;
  EXPECT_EQ(Checked(Saved(tree, kMail, "m.msg")),
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
            "attachment 1 dé.bin application/octet-stream b'\\x00\\x01\\x02\\xff'\n"
            "attachment 1 ATT00001.png image/png b'PNG'\n"
            "attachment 5 inner.eml message/rfc822 \n"
            "  class IPM.Note\n"
            "  subject inner||inner\n"
            "  sender in@example.org <in@example.org>\n"
            "  to t@example.org|cc \n"
            "  time None delivered None flags 1\n"
            "  body 'inner body'\n"
            "  recipient 1 t@example.org <t@example.org>\n");
}

// An attached message that keeps its own times (a data file's) has them in
// the message file, not those of the mail that holds it.
TEST(MessageFile, AnAttachedMessageKeepsItsOwnTimes) {
  TempTree tree;
  MessageContent content = ReadMessageContent(kMail);
  MessageContent inner = *content.attachments.back().message;
  inner.received = 1246381200;  // 2009-06-30 17:00:00 UTC
  inner.created = 1246381260;
  inner.modified = 1246381320;
  content.attachments.back().message = std::make_shared<const MessageContent>(std::move(inner));
  const fs::path path = tree.Root() / "m.msg";
  ItemFacts facts;
  facts.received_seconds = 1246467600;  // a day later
  SaveMessageAs(content, facts, path.string(), SaveType::MessageUnicode);
  EXPECT_EQ(Checked("'" + path.string() + "'", "time"),
            "time 128908548000000000 delivered 128909412000000000 flags 17\n"
            "  time None delivered 128908548000000000 flags 1 made 128908548600000000 changed 128908549200000000\n");
}

// A mail file in a temporary tree, opened as an item of the directory store.
std::unique_ptr<MailItem> ItemOf(const TempTree& tree, const std::string& mail) {
  tree.Write("Box/m.eml", mail);
  return std::make_unique<DirItem>(
      ListedFolder::OfItem(std::make_shared<const StoreContext>(tree.Root()), "Box", "m.eml",
                           {std::make_shared<const Directory>((tree.Root() / "Box").string()), "m.eml"}),
      0);
}

// A 50 MB attachment of a draft goes through the whole save: the attachment
// file and the message file's stream (past the mini stream, with the DIFAT
// that files over 7 MB need) hold its exact bytes.
TEST(MessageFile, AFiftyMegabyteAttachmentRoundTrips) {
  TempTree tree;
  std::string big(50 * 1000 * 1000, '\0');
  std::mt19937 random(50);
  for (char& c : big) c = static_cast<char>(random());
  tree.Write("big.raw", big);
  const std::string base64 = OutputOf("base64 '" + (tree.Root() / "big.raw").string() + "'");
  auto item = ItemOf(
      tree,
      "Subject: draft\nContent-Type: multipart/mixed; boundary=B\n\n--B\n"
      "Content-Type: text/plain\n\nx\n--B\nContent-Type: application/octet-stream; name=big.bin\n"
      "Content-Transfer-Encoding: base64\n\n" +
          base64 + "--B--\n");
  ASSERT_EQ(item->AttachmentCount(), 1);
  // Without a date or a Received line, the mail arrived when its file was
  // last written: 2020-02-02 02:02:02 UTC.
  const timespec times[2] = {{1580608922, 0}, {1580608922, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (tree.Root() / "Box" / "m.eml").c_str(), times, 0), 0);
  const fs::path file = tree.Root() / "big.bin";
  item->AttachmentAt(1)->SaveAsFile(file.string());
  EXPECT_TRUE(qs::testing::ReadFile(file) == big);
  const fs::path path = tree.Root() / "d.msg";
  item->SaveAs(path.string(), SaveType::Message);
  EXPECT_EQ(OutputOf(kPython + "-c \"import olefile,sys; o=olefile.OleFileIO(sys.argv[1]); "
                     "d=o.openstream('__attach_version1.0_#00000000/__substg1.0_37010102').read(); "
                     "print(len(d), d == open(sys.argv[2],'rb').read())\" '" + path.string() + "' '" +
                     file.string() + "'"),
            "50000000 True\n");
  EXPECT_EQ(Checked("'" + path.string() + "'", "difat|flags|ERROR"),
            "difat 6\ntime None delivered 132250825220000000 flags 25\n");
}

// Damaged mail still gives message files that pass the strict check.
TEST(MessageFile, MutatedMailGivesSoundFiles) {
  TempTree tree;
  std::mt19937 random(20091);
  static constexpr std::string_view kPieces[] = {"\r\n", "=?", "?=", ";", "\"", "--B", "--A",
                                                 "\xff", "\0", "=", "name*=", "\r\n\r\n"};
  std::string files;
  for (int round = 0; round < 300; ++round) {
    std::string mail = kMail;
    for (int edit = 0; edit < 6; ++edit) {
      const std::size_t at = random() % mail.size();
      if (random() % 2)
        mail.insert(at, kPieces[random() % std::size(kPieces)]);
      else
        mail.erase(at, random() % 12);
    }
    files += " " + Saved(tree, mail, "f" + std::to_string(round) + ".msg");
  }
  const std::string checked = Checked(files, "^(== |ERROR)");
  EXPECT_EQ(std::count(checked.begin(), checked.end(), '\n'), 300) << checked;
}

// Everything of a message file the reading of a message asks for.
void ReadWhole(std::string bytes) {
  const auto bag = MessageFileBag(std::make_shared<const CompoundReader>(std::move(bytes)));
  for (const std::uint16_t id : {kSubject, kBody, kHtml, kTransportHeaders}) bag->Get(id);
  for (std::size_t i = 0; i < bag->RecipientCount(); ++i) bag->Recipient(i)->Get(kSmtpAddress);
  for (std::size_t i = 0; i < bag->AttachmentCount(); ++i) {
    if (const auto data = bag->Attachment(i)->Data()) data->WriteTo([](std::string_view) {});
    if (const auto message = bag->Attachment(i)->Message()) message->Get(kSubject);
  }
}

std::uint32_t Get32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string Put32(std::string bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

TEST(MessageFile, TheReaderRefusesDamageWithoutReadingOutsideTheFile) {
  TempTree tree;
  Saved(tree, kMail, "m.msg");
  const std::string whole = qs::testing::ReadFile(tree.Root() / "m.msg");
  ASSERT_NO_THROW(ReadWhole(whole));
  const std::uint32_t first_directory = Get32(whole, 0x30);
  const std::size_t directory = (first_directory + 1) * 512, first_fat = (Get32(whole, 0x4C) + 1) * 512;
  const std::pair<const char*, std::string> damaged[] = {
      {"no compound file", "From: a@example.org\r\n\r\nhi"},
      {"cut short", whole.substr(0, whole.size() / 2)},
      {"a sector beyond the end", Put32(whole, 0x4C, 0x00FFFFFF)},
      {"a chain round in a circle", Put32(whole, first_fat + 4 * first_directory, first_directory)},
      {"a tree round in a circle", Put32(whole, directory + 128 + 0x44, 1)},
      {"a tree leading outside the directory", Put32(whole, directory + 0x4C, 0x7FFFFFF)},
      {"a mini stream longer than its chain", Put32(whole, directory + 0x78, 0x7FFFFFF0)},
  };
  for (const auto& [what, bytes] : damaged) EXPECT_THROW(ReadWhole(bytes), MailStoreError) << what;
}

TEST(MessageFile, OverTheFormatsLimitsOrUnwritableIsRefused) {
  MessageContent content;
  content.to.assign(kMessageFileLimit + 1, Mailbox{"", "a@example.org"});
  EXPECT_THROW(MessageFileTree(content, ItemFacts{}), MailStoreError);
  content.to.resize(kMessageFileLimit);
  EXPECT_NO_THROW(MessageFileTree(content, ItemFacts{}));
  content.attachments.resize(kMessageFileLimit + 1);
  EXPECT_THROW(MessageFileTree(content, ItemFacts{}), MailStoreError);
  TempTree tree;
  tree.Write("file", "x");
  EXPECT_THROW(Saved(tree, kMail, "file/m.msg"), MailStoreError);
}

}  // namespace
}  // namespace qs::dirstore

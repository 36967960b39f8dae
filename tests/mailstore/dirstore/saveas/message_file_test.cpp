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

// The npm package @kenjiuno/msgreader, where the build has it.
std::string MsgreaderCommand() {
  const fs::path modules = QUILLSTOW_MSGREADER_MODULES;
  if (modules.empty() || !fs::is_directory(modules / "@kenjiuno" / "msgreader") ||
      std::system("command -v node >/dev/null 2>&1") != 0)
    return {};
  return "NODE_PATH='" + modules.string() + "' node " QUILLSTOW_SAVEAS_TEST_DIR "/read_msg.js";
}

// The blocks "== <name>" of a reader's report, each as its lines grouped by
// their first word.
using ReadFacts = std::map<std::string, std::vector<std::string>>;
std::map<std::string, ReadFacts> Blocks(const std::string& report) {
  std::map<std::string, ReadFacts> blocks;
  ReadFacts* current = nullptr;
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("== ")) {
      current = &blocks[line.substr(3)];
    } else if (current) {
      (*current)[line.substr(0, line.find(' '))].push_back(line);
    }
  }
  return blocks;
}

// Whether a line of msgreader's report says what the line of Python's says.
// Header texts are compared without white space (see mail_facts.py); an
// attachment line of Python's names the exact bytes, the bytes with LF line
// ends ("~") or nothing it could read ("*"), and msgreader's names both.
bool SaysTheSame(const std::string& kind, const std::string& wanted, const std::string& read) {
  if (kind == "body") return wanted == read;
  if (kind == "attachment") {
    const std::string facts = wanted.substr(kind.size() + 1);
    return facts == "*" || (read + " ").find(" " + facts + " ") != std::string::npos;
  }
  const auto squeezed = [](std::string line) {
    std::erase_if(line, [](char c) { return c == ' ' || c == '\t'; });
    return line;
  };
  // A mailbox without a name ("*") is compared by its address.
  if (const auto unnamed = wanted.find(" * <"); unnamed != std::string::npos)
    return read.compare(0, unnamed + 1, wanted, 0, unnamed + 1) == 0 &&
           read.ends_with(wanted.substr(unnamed + 2));
  return squeezed(wanted) == squeezed(read);
}

// Expects a reader's report on the saved files to say what Python's email
// package says of the mails. A fact Python could not read from damaged mail
// is not compared, nor a kind of fact with a line the reader cannot give.
void ExpectSameFacts(const std::vector<fs::path>& mails, const std::string& python_report,
                     const std::string& reader_report, const std::string& reader,
                     const std::function<bool(const std::string&)>& can_give) {
  const auto expected = Blocks(python_report);
  const auto found = Blocks(reader_report);
  ASSERT_EQ(expected.size(), mails.size()) << python_report;
  ASSERT_EQ(found.size(), mails.size()) << reader_report;
  for (std::size_t i = 0; i < mails.size(); ++i) {
    const ReadFacts& read = found.at(std::to_string(i));
    for (const auto& [kind, lines] : expected.at(std::to_string(i))) {
      if (!std::all_of(lines.begin(), lines.end(), can_give)) continue;
      const std::vector<std::string> none;
      const std::vector<std::string>& got = read.count(kind) ? read.at(kind) : none;
      bool same = got.size() == lines.size();
      for (std::size_t line = 0; same && line < lines.size(); ++line)
        same = SaysTheSame(kind, lines[line], got[line]);
      EXPECT_TRUE(same) << mails[i] << "\nPython:\n" << ::testing::PrintToString(lines) << "\n"
                        << reader << ":\n" << ::testing::PrintToString(got);
    }
  }
}

// Every mail of the sample mailbox and of the corpus, saved once as a
// message file "<n>.msg" beside its copy "Box/<n>.eml".
class EveryMailSaved : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = new TempTree;
    for (const fs::path& root : {fs::path(QUILLSTOW_SAMPLE_MAILBOX), fs::path(QUILLSTOW_MAIL_CORPUS)})
      if (fs::is_directory(root))
        for (const auto& entry : fs::recursive_directory_iterator(root))
          if (entry.is_regular_file() && entry.path().filename() != "LICENSE")
            mails_.push_back(entry.path());
    for (std::size_t i = 0; i < mails_.size(); ++i) {
      const std::string mail = ReadFile(mails_[i]);
      auto item = qs::testing::ItemOf(*tree_, mail, std::to_string(i) + ".eml");
      item->SaveAs(Saved(i, ".msg"), SaveType::MessageUnicode);
      item->SaveAs(Saved(i, ".txt"), SaveType::Text);
      item->SaveAs(Saved(i, ".rtf"), SaveType::RichText);
      // The attachment files, but for attached messages (whole mails).
      attachment_files_ += " '== " + std::to_string(i) + "'";
      const MessageContent content = ReadMessageContent(mail);
      for (std::size_t k = 0; k < content.attachments.size(); ++k) {
        if (content.attachments[k].message) continue;
        const std::string file = Saved(i, ("-" + std::to_string(k) + ".att").c_str());
        item->AttachmentAt(static_cast<std::int32_t>(k + 1))->SaveAsFile(file);
        attachment_files_ += " '" + file + "'";
      }
    }
  }
  static void TearDownTestSuite() {
    delete tree_;
    tree_ = nullptr;
    mails_.clear();
    attachment_files_.clear();
  }

  static std::string Saved(std::size_t i, const char* extension) {
    return (tree_->Root() / (std::to_string(i) + extension)).string();
  }
  // The quoted paths of all saved files with the extension.
  static std::string AllSaved(const char* extension) {
    std::string list;
    for (std::size_t i = 0; i < mails_.size(); ++i) list += " '" + Saved(i, extension) + "'";
    return list;
  }
  // The quoted paths of the mails' copies.
  static std::string AllMails() {
    std::string list;
    for (std::size_t i = 0; i < mails_.size(); ++i)
      list += " '" + (tree_->Root() / "Box" / (std::to_string(i) + ".eml")).string() + "'";
    return list;
  }
  static std::string PythonFacts(const std::string& python, const std::string& files) {
    return OutputOf(python + " " QUILLSTOW_SAVEAS_TEST_DIR "/mail_facts.py" + files + " 2>&1");
  }

  static inline TempTree* tree_ = nullptr;
  static inline std::vector<fs::path> mails_;
  static inline std::string attachment_files_;  // "== <n>" before the files of mail n
};

// Each attachment file holds the bytes of its part.
TEST_F(EveryMailSaved, AttachmentFilesHoldWhatTheMailHolds) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "needs python3";
  ExpectSameFacts(mails_, PythonFacts(python, AllMails()),
                  OutputOf(python + " " QUILLSTOW_SAVEAS_TEST_DIR "/mail_facts.py --files" +
                           attachment_files_ + " 2>&1"),
                  "attachment files",
                  [](const std::string& line) { return line.starts_with("attachment "); });
}

// unrtf (a reader nobody on the team wrote) reads each rich-text file as
// the text the plain-text form holds. It writes a tab as blanks of its own
// and characters beyond ASCII in forms of its own, so lines are compared
// without white space, and those in ASCII only.
TEST_F(EveryMailSaved, UnrtfReadsTheRichTextOfEveryMail) {
  if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
  const auto squeezed = [](std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    return text;
  };
  for (std::size_t i = 0; i < mails_.size(); ++i) {
    const std::string text = squeezed(OutputOf("unrtf --text '" + Saved(i, ".rtf") + "' 2>&1"));
    std::istringstream lines(ReadFile(Saved(i, ".txt")));
    std::size_t at = 0;
    for (std::string line; std::getline(lines, line);) {
      line = squeezed(line);
      if (line.empty() || !std::all_of(line.begin(), line.end(), [](char c) { return c > 0; }))
        continue;
      const std::size_t found = text.find(line, at);
      EXPECT_NE(found, std::string::npos) << mails_[i] << ": " << line;
      if (found == std::string::npos) break;
      at = found + line.size();
    }
  }
}

// What msgreader reads from each file is what the mail holds: subject,
// sender, recipients with their types, time, body and every attachment's
// bytes.
TEST_F(EveryMailSaved, MsgreaderReadsWhatTheMailHolds) {
  const std::string msgreader = MsgreaderCommand();
  const std::string python = Python();
  if (msgreader.empty() || python.empty()) GTEST_SKIP() << "needs node with msgreader and python3";
  ExpectSameFacts(mails_, PythonFacts(python, AllMails()),
                  OutputOf(msgreader + AllSaved(".msg") + " 2>&1"), "msgreader",
                  [](const std::string&) { return true; });
}

// Debian's msgconvert turns each file back into mail, which must hold what
// the original holds. It writes text beyond ASCII in headers as raw Latin-1
// and may encode a body twice, and it dates a mail without a date now, so
// only facts in ASCII with a date are compared with it.
TEST_F(EveryMailSaved, MsgconvertReadsWhatTheMailHolds) {
  const std::string python = Python();
  if (python.empty() || std::system("command -v msgconvert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "needs python3 and msgconvert";
  const std::string convert =
      "cd '" + tree_->Root().string() + "' && msgconvert" + AllSaved(".msg") + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  ExpectSameFacts(mails_, PythonFacts(python, AllMails()), PythonFacts(python, AllSaved(".eml")),
                  "msgconvert", [](const std::string& line) {
                    return line != "time none" &&
                           std::all_of(line.begin(), line.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
                  });
}

// The strict check of the container and of the properties' streams, and
// libolecf's reader, where installed, on every file.
TEST_F(EveryMailSaved, EveryFilePassesTheStrictCheck) {
  const std::string python = Python();
  if (python.empty()) GTEST_SKIP() << "python3-olefile is not installed";
  const std::string report =
      OutputOf(python + " " QUILLSTOW_SAVEAS_TEST_DIR "/check_msg.py" + AllSaved(".msg") + " 2>&1");
  const auto checked = Blocks(report);
  EXPECT_EQ(checked.size(), mails_.size()) << report;
  for (const auto& [file, facts] : checked)
    EXPECT_EQ(facts.count("ERROR"), 0u) << file << ": " << ::testing::PrintToString(facts.at("ERROR"));
  if (std::system("command -v olecfinfo >/dev/null 2>&1") == 0) {
    EXPECT_EQ(OutputOf("for f in" + AllSaved(".msg") +
                       "; do olecfinfo \"$f\" >/dev/null 2>&1 || echo \"olecfinfo rejects $f\"; done"),
              "");
  }
  EXPECT_GT(mails_.size(), 100u);
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
  const auto checked = Blocks(report);
  EXPECT_EQ(checked.size(), std::size_t{kRounds}) << report;
  for (const auto& [file, facts] : checked)
    EXPECT_EQ(facts.count("ERROR"), 0u) << file << ": " << ::testing::PrintToString(facts.at("ERROR"));
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

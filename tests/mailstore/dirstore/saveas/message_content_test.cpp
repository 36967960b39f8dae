#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "mailstore/dirstore/saveas/message_content.h"
#include "tests/mailstore/dirstore/saveas/saved_item.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::ItemOf;
using qs::testing::ReadFile;
using qs::testing::TempTree;

const fs::path kFixtures = fs::path(QUILLSTOW_MAIL_CORPUS) / "attachment_emails";

std::string Fixture(const std::string& name) {
  if (!fs::exists(kFixtures / name)) return {};
  return ReadFile(kFixtures / name);
}

std::vector<std::string> Names(MailItem& item) {
  std::vector<std::string> names;
  for (std::int32_t i = 1; i <= item.AttachmentCount(); ++i) names.push_back(item.AttachmentAt(i)->FileName());
  return names;
}

std::string Saved(MailItem& item, std::int32_t position, const TempTree& tree) {
  const fs::path path = tree.Root() / ("saved-" + std::to_string(position));
  item.AttachmentAt(position)->SaveAsFile(path.string());
  return ReadFile(path);
}

TEST(DirAttachments, RealMailNamesAndBytes) {
  if (!fs::is_directory(kFixtures)) GTEST_SKIP() << "no mail corpus at " << kFixtures;
  TempTree tree;
  {
    auto item = ItemOf(tree, Fixture("attachment_pdf.eml"));
    ASSERT_EQ(Names(*item), std::vector<std::string>{"broken.pdf"});
    const std::string pdf = Saved(*item, 1, tree);
    EXPECT_EQ(pdf.size(), 1026u);
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  }
  // An encoded word in the parameter and an RFC 2231 value in Japanese.
  EXPECT_EQ(Names(*ItemOf(tree, Fixture("attachment_with_base64_encoded_name.eml"))),
            std::vector<std::string>{"This is a test.pdf"});
  const auto japanese = Names(*ItemOf(tree, Fixture("attachment_with_encoded_name.eml")));
  ASSERT_EQ(japanese.size(), 1u);
  // Its one byte that is not ISO-2022-JP cannot be read; the name stays UTF-8.
  EXPECT_EQ(japanese[0], "01 Quien Te Dij\xEF\xBF\xBD" "at. Pitbull.mp3");
  EXPECT_EQ(Names(*ItemOf(tree, Fixture("attachment_nonascii_filename.eml"))),
            std::vector<std::string>{"ciële.txt"});
  EXPECT_EQ(Names(*ItemOf(tree, Fixture("attachment_with_unquoted_name.eml"))),
            std::vector<std::string>{"This is a test.txt"});
  EXPECT_EQ(Names(*ItemOf(tree, Fixture("attachment_with_quoted_filename.eml"))),
            std::vector<std::string>{"Eelanalüüsi päring.jpg"});
  // The whole message is the attachment (its base64 decodes to 288 bytes,
  // as Python's email package reads it too).
  auto only = ItemOf(tree, Fixture("attachment_only_email.eml"));
  ASSERT_EQ(Names(*only), std::vector<std::string>{"blah.gz"});
  const std::string blah = Saved(*only, 1, tree);
  EXPECT_EQ(blah.size(), 288u);
  EXPECT_EQ(blah.substr(0, 4), "J\xe6\xe3y");
}

TEST(DirAttachments, AttachedMessageIsOneFileNamedBySubject) {
  if (!fs::is_directory(kFixtures)) GTEST_SKIP() << "no mail corpus at " << kFixtures;
  TempTree tree;
  auto item = ItemOf(tree, Fixture("attachment_message_rfc822.eml"));
  ASSERT_EQ(item->AttachmentCount(), 1);
  const std::string name = item->AttachmentAt(1)->FileName();
  EXPECT_EQ(name.substr(name.size() - 4), ".eml");
  const std::string saved = Saved(*item, 1, tree);
  const MessageContent inner = ReadMessageContent(saved);
  EXPECT_EQ(inner.subject + ".eml", name);
  // The attached message's own bytes, CRLF line ends and all.
  for (const char* fixture : {"attachment_message_rfc822.eml", "attachment_message_rfc822_inline_image.eml"}) {
    const std::string mail = Fixture(fixture);
    auto attached = ItemOf(tree, mail, fixture);
    const auto names = Names(*attached);
    const auto message = std::find_if(names.begin(), names.end(),
                                      [](const std::string& n) { return n.ends_with(".eml"); });
    ASSERT_NE(message, names.end()) << fixture;
    const std::string bytes =
        Saved(*attached, static_cast<std::int32_t>(message - names.begin()) + 1, tree);
    EXPECT_GT(bytes.size(), 1000u) << fixture;
    EXPECT_NE(mail.find(bytes), std::string::npos) << fixture;
  }
}

TEST(DirAttachments, UnnamedPartsAreNumberedWithTheirTypesExtension) {
  TempTree tree;
  const std::string mail =
      "From: a@example.org\nSubject: parts\nMIME-Version: 1.0\n"
      "Content-Type: multipart/mixed; boundary=XX\n\n--XX\n"
      "Content-Type: text/plain\n\nthe body\n--XX\n"
      "Content-Type: image/png\nContent-Disposition: attachment\nContent-Transfer-Encoding: base64\n\n"
      "iVBORw0KGgo=\n--XX\n"
      "Content-Type: application/x-unknown-thing\nContent-Disposition: attachment\n\nraw\n--XX\n"
      "Content-Type: text/plain; name=\"=?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?=.txt\"\n\nab\n--XX\n"
      "Content-Type: application/octet-stream\n"
      "Content-Disposition: attachment; filename*=UTF-8''K%C3%B6ln%20%2F..%2Fx.bin\n\n\x01\x02\n"
      "--XX--\n";
  auto item = ItemOf(tree, mail);
  EXPECT_EQ(Names(*item), (std::vector<std::string>{"ATT00001.png", "ATT00002.bin", "ab.txt",
                                                     "Köln /../x.bin"}));
  EXPECT_EQ(Saved(*item, 1, tree), std::string("\x89PNG\r\n\x1a\n"));
  EXPECT_EQ(Saved(*item, 4, tree), "\x01\x02");
  EXPECT_THROW(item->AttachmentAt(0), MailStoreError);
  EXPECT_THROW(item->AttachmentAt(5), MailStoreError);
}

TEST(DirAttachments, BodiesAreNotAttachmentsAndAFailedWriteThrows) {
  TempTree tree;
  auto item = ItemOf(tree, "From: a@example.org\nSubject: plain\n\nhello\n");
  EXPECT_EQ(item->AttachmentCount(), 0);
  auto with_one = ItemOf(tree,
                         "Subject: x\nContent-Type: multipart/mixed; boundary=B\n\n--B\n"
                         "Content-Type: text/html\n\n<p>hi</p>\n--B\n"
                         "Content-Type: text/plain; name=a.txt\n\nA\n--B--\n",
                         "n.eml");
  ASSERT_EQ(Names(*with_one), std::vector<std::string>{"a.txt"});
  // A second text part of mixed mail (a list's footer) is more of the body;
  // of alternatives only the first counts.
  const std::string_view footer_mail =
      "Subject: x\nContent-Type: multipart/mixed; boundary=B\n\n--B\n"
      "Content-Type: multipart/alternative; boundary=A\n\n--A\nContent-Type: text/plain\n\none\n"
      "--A\nContent-Type: text/plain\n\nother form\n--A--\n--B\n"
      "Content-Type: text/plain\n\nfooter\n--B--\n";
  // Held, and decoded again each time it is written, as a large mail's is.
  const MessageContent footer = ReadMessageContent(footer_mail);
  EXPECT_EQ(WholeBytes(*footer.text_body), "one\nfooter");
  EXPECT_EQ(WholeBytes(*ReadMessageContent(footer_mail, 0).text_body), "one\nfooter");
  EXPECT_TRUE(footer.attachments.empty());
  tree.Write("file", "x");
  EXPECT_THROW(with_one->AttachmentAt(1)->SaveAsFile((tree.Root() / "file" / "a.txt").string()),
               MailStoreError);
}

// Parts that are not the body are never dropped: an inline image without a
// name, a second HTML part, a calendar beside the texts.
TEST(DirAttachments, EveryPartBesideTheBodyIsAnAttachment) {
  const MessageContent content = ReadMessageContent(
      "From nobody Mon May  2 16:07:05 2005\nSubject: x\n"
      "Content-Type: multipart/mixed; boundary=B\n\n--B\n"
      "Content-Type: multipart/related; boundary=R\n\n--R\n"
      "Content-Type: multipart/alternative; boundary=A\n\n"
      "--A\nContent-Type: text/plain\n\nplain\n--A\nContent-Type: text/html\n\n<p>first</p>\n"
      "--A\nContent-Type: text/html\n\n<p>other form</p>\n"
      "--A\nContent-Type: text/calendar\n\nBEGIN:VCALENDAR\n--A--\n"
      "--R\nContent-Type: image/gif\nContent-ID: <img1>\n\nGIF89a\n--R--\n"
      "--B\nContent-Type: text/html\n\n<p>footer</p>\n--B--\n");
  EXPECT_EQ(WholeBytes(*content.text_body), "plain");
  EXPECT_EQ(content.html_body, "<p>first</p>");
  std::vector<std::string> names;
  for (const MessageAttachment& attachment : content.attachments) names.push_back(attachment.file_name);
  EXPECT_EQ(names, (std::vector<std::string>{"ATT00001.ics", "ATT00002.gif", "ATT00003.html"}));
  EXPECT_EQ(content.attachments[1].content_id, "img1");
  EXPECT_EQ(WholeBytes(*content.attachments[1].data), "GIF89a");
  // The mbox "From " line is not one of the headers.
  EXPECT_TRUE(content.headers.starts_with("Subject: x\n")) << content.headers;
}

TEST(DirAttachments, AMailFileGoneBeforeTheSaveIsAnError) {
  TempTree tree;
  auto item = ItemOf(tree, "Subject: gone\n\nbody\n");
  fs::remove(tree.Root() / "Box" / "m.eml");
  EXPECT_THROW(item->AttachmentCount(), MailStoreError);
  EXPECT_THROW(item->SaveAs((tree.Root() / "m.txt").string(), SaveType::Text), MailStoreError);
  EXPECT_FALSE(fs::exists(tree.Root() / "m.txt"));
}

// A mail whose size is in its text body is saved in about its own size; one
// whose HTML body does not fit in the memory left is one mail not saved,
// reported by the item, and the program goes on.
TEST(DirAttachments, ALargeTextBodyIsSavedInTheMemoryLeftAndALargeHtmlBodyIsNot) {
  constexpr std::size_t kBody = 64 << 20;
  const struct {
    std::string type;
    int exit;  // 0 saved, 1 refused with a MailStoreError
  } cases[] = {{"text/plain", 0}, {"text/html", 1}};
  for (const auto& c : cases) {
    TempTree tree;
    auto item = ItemOf(tree, "Subject: big\nContent-Type: " + c.type + "\n\n" + std::string(kBody, 'x') + "\n");
    const fs::path path = tree.Root() / "big.txt";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Room for the mapped file and half as much again, not for a copy of its body.
      std::size_t pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t room = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + kBody + kBody / 2;
      const rlimit limit{room, room};
      if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
      try {
        item->SaveAs(path.string(), SaveType::Text);
        std::_Exit(0);
      } catch (const MailStoreError&) {
        std::_Exit(1);
      } catch (...) {
        std::_Exit(2);
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.exit) << c.type << ": wait status " << status;
    EXPECT_EQ(fs::exists(path), c.exit == 0) << c.type;
  }
}

TEST(DirAttachments, ExtensionsOfTypes) {
  EXPECT_EQ(ExtensionOfMimeType("IMAGE/JPEG"), ".jpg");
  EXPECT_EQ(ExtensionOfMimeType("message/rfc822"), ".eml");
  EXPECT_EQ(ExtensionOfMimeType("application/x-whatever"), ".bin");
}

}  // namespace
}  // namespace qs::dirstore

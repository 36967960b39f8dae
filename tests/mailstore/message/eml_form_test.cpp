// MIME message files written from hand-made messages, read back as they
// stand and by Python's email package.
#include "mailstore/message/eml_form.h"

#include <gtest/gtest.h>

#include <regex>

#include "tests/common/temp_tree.h"

namespace qs {
namespace {

using qs::testing::OutputOf;
using qs::testing::ReadFile;
using qs::testing::TempTree;

std::string Eml(const MessageContent& content, const EmlForm::TextOfHtml& text_of_html = {}) {
  return WholeBytes(EmlForm(content, text_of_html));
}

std::string HeaderBlock(const std::string& eml) { return eml.substr(0, eml.find("\r\n\r\n") + 2); }

// The types of the parts, in the order they are written.
std::vector<std::string> PartTypes(const std::string& eml) {
  std::vector<std::string> types;
  const std::regex type("(^|\n)Content-Type: ([^;\r]*)");
  for (auto at = std::sregex_iterator(eml.begin(), eml.end(), type); at != std::sregex_iterator(); ++at)
    types.push_back((*at)[2]);
  return types;
}

MessageAttachment Data(std::string name, std::string type, std::string bytes, std::string content_id = {}) {
  return {std::move(name), std::move(type), std::move(content_id), std::make_shared<const HeldBytes>(std::move(bytes)),
          nullptr};
}

MessageAttachment Attached(MessageContent message) {
  MessageAttachment attachment = Data(message.subject + ".msg", "message/rfc822", "");
  attachment.message = std::make_shared<const MessageContent>(std::move(message));
  return attachment;
}

MessageContent Full() {
  MessageContent inner;
  inner.subject = "inner";
  inner.html_body = "<img src=\"cid:in@1\">";
  inner.attachments = {Data("in.png", "image/png", "PNG", "in@1")};
  MessageContent content;
  content.subject = "full";
  content.text_body = std::make_shared<const HeldBytes>("text\n--=_Q0_0\n");
  content.html_body = "<p>caf\xc3\xa9<img src=\"cid:pic@1\"></p>";
  content.attachments = {Data("pic.png", "image/png", std::string("\x89PNG\0\x01", 6), "pic@1"),
                         Data("unused.gif", "image/gif", "GIF", "unused@1"),
                         Data("Gr\xc3\xbc\xc3\x9f" "e und ein sehr langer Name f\xc3\xbcr einen Anhang.pdf",
                              "application/pdf", std::string(3000, '\xff')),
                         Data("odd", "not a type", "x"), Attached(inner)};
  return content;
}

TEST(EmlForm, FieldsAreMadeFromTheMessageWhereItHasNoTransportHeaders) {
  MessageContent made;
  made.date = 1246381200;
  made.from = {{"J\xc3\xbcrgen", "j@example.org"}};
  made.to = {{"Saqib Razzaq", "/o=Org/ou=Exchange/cn=Recipients/cn=saqib"}, {"", "t@example.org"}, {"", ""}};
  made.cc = {{"Smith, John", "js@example.org"}};
  made.bcc = {{"", "b@example.org"}};
  made.subject = "Gr\xc3\xbc\xc3\x9f" "e aus K\xc3\xb6ln";
  made.message_id = "m1@example.org";
  made.in_reply_to = "p@example.org";
  MessageContent nameless;
  nameless.to = {{"", "/o=Org/cn=x"}};
  nameless.message_id = "bad id";
  MessageContent kept = made;
  kept.headers = "Received: from a\r\n\tby b\nSubject : old form\r\nMIME-Version: 1.0\r\n"
                 "Content-Type: multipart/mixed;\r\n boundary=\"x\"\r\nnot a field\r\nContent-Length: 5\r\n"
                 "X-Long: " + std::string(1100, 'x') + "\r\n\r\nAfter: the block\r\n";
  const std::string mime =
      "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=\"utf-8\"\r\n"
      "Content-Transfer-Encoding: quoted-printable\r\n";
  const struct {
    const char* what;
    MessageContent content;
    std::string fields;
  } cases[] = {
      {"every field", made,
       "Date: Tue, 30 Jun 2009 17:00:00 +0000\r\nFrom: =?UTF-8?B?SsO8cmdlbg==?= <j@example.org>\r\n"
       "To: Saqib Razzaq:;, t@example.org\r\nCc: \"Smith, John\" <js@example.org>\r\n"
       "Bcc: b@example.org\r\nSubject: =?UTF-8?B?R3LDvMOfZQ==?= aus =?UTF-8?B?S8O2bG4=?=\r\n"
       "Message-ID: <m1@example.org>\r\nIn-Reply-To: <p@example.org>\r\n"},
      {"an Exchange address without a name", nameless, "To: /o=Org/cn=x:;\r\n"},
      {"none", MessageContent(), ""},
      {"transport headers", kept,
       "Received: from a\r\n\tby b\r\nSubject: old form\r\nX-Long:\r\n " + std::string(996, 'x') + "\r\n " +
           std::string(104, 'x') + "\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(HeaderBlock(Eml(c.content)), c.fields + mime) << c.what;
}

TEST(EmlForm, PartsNestAsTheBodiesAndAttachmentsNeed) {
  MessageContent text;
  text.text_body = std::make_shared<const HeldBytes>("t");
  MessageContent html;
  html.html_body = "<p>h";
  const auto text_of_html = [](const MessageContent&) { return std::make_shared<const HeldBytes>("h"); };
  const std::vector<std::string> alternative{"multipart/alternative", "text/plain", "text/html"};
  EXPECT_EQ(PartTypes(Eml(text, text_of_html)), std::vector<std::string>{"text/plain"});
  EXPECT_EQ(PartTypes(Eml(html, text_of_html)), alternative);
  EXPECT_EQ(PartTypes(Eml(html)), std::vector<std::string>{"text/html"});
  EXPECT_EQ(PartTypes(Eml(Full())),
            (std::vector<std::string>{"multipart/mixed", "multipart/related", "multipart/alternative",
                                      "text/plain", "text/html", "image/png", "image/gif", "application/pdf",
                                      "application/octet-stream", "message/rfc822", "multipart/related",
                                      "text/html", "image/png"}));
  // Nesting stops at the deepest level an attached message is written to.
  MessageContent chain;
  for (int i = 0; i < kDeepestEmlMessage + 8; ++i) {
    MessageContent outer;
    outer.attachments.push_back(Attached(std::move(chain)));
    chain = std::move(outer);
  }
  const std::vector<std::string> types = PartTypes(Eml(chain));
  EXPECT_EQ(std::count(types.begin(), types.end(), "message/rfc822"), kDeepestEmlMessage);
}

TEST(EmlForm, AttachmentsKeepTheirNamesAndPicturesTheirContentIds) {
  const std::string eml = Eml(Full());
  for (const char* field :
       {"Content-Disposition: inline; filename=\"pic.png\"\r\nContent-ID: <pic@1>\r\n",
        "Content-Disposition: attachment; filename=\"unused.gif\"\r\nContent-ID: <unused@1>\r\n",
        "Content-Disposition: attachment;\r\n filename*0*=UTF-8''Gr%C3%BC%C3%9Fe%20und%20ein%20sehr%20langer%20Name%20;"
        "\r\n filename*1*=f%C3%BCr%20einen%20Anhang.pdf\r\n",
        "Content-Type: message/rfc822\r\nContent-Disposition: attachment; filename=\"inner.eml\"\r\n"})
    EXPECT_NE(eml.find(field), std::string::npos) << field;
}

// The same message gives the same bytes; boundaries differ between
// messages and never occur in what they divide; no line is too long.
TEST(EmlForm, SavesAreRepeatableAndEveryLineFits) {
  MessageContent content = Full();
  content.subject = std::string(2000, 's') + " \xc3\xa9";
  content.text_body = std::make_shared<const HeldBytes>(std::string(5000, 't') + "\n--=_Q0_0\n");
  const std::string eml = Eml(content);
  EXPECT_EQ(Eml(content), eml);
  const std::size_t quoted = eml.find("boundary=\"") + 10;
  const std::string boundary = eml.substr(quoted, eml.find('"', quoted) - quoted);
  EXPECT_EQ(Eml(Full()).find(boundary), std::string::npos) << boundary;
  std::size_t delimiters = 0;
  for (std::size_t start = 0; start < eml.size();) {
    const std::size_t end = eml.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 998u);
    delimiters += eml.compare(start, 2 + boundary.size(), "--" + boundary) == 0;
    start = end + 2;
  }
  EXPECT_EQ(delimiters, content.attachments.size() + 1);  // the related part, each attachment, the end
}

// Python's email package finds no defect in any field or part, and reads
// every attachment's bytes.
TEST(EmlForm, PythonReadsEveryFieldAndAttachment) {
  TempTree tree;
  MessageContent made;
  made.date = 0;
  made.from = {{"\"Quoted\" \\ name", "q@example.org"}};
  made.to = {{"Gr\xc3\xbc\xc3\x9f" "e", "/o=Org/cn=g"}, {"A. Person", "a@example.org"}};
  made.subject = "=?not encoded?= " + std::string(200, 'w') + " caf\xc3\xa9 \xe2\x82\xac\xe2\x82\xac";
  made.html_body = "<p>only html";
  std::filesystem::create_directory(tree.Root() / "out");
  for (const auto& [name, content] : {std::pair{"full.eml", Full()}, std::pair{"made.eml", made}})
    tree.Write(name, Eml(content, [](const MessageContent&) { return std::make_shared<const HeldBytes>("h"); }));
  EXPECT_EQ(OutputOf(QUILLSTOW_PYTHON " " QUILLSTOW_CHECK_EML " --all-fields '" + (tree.Root() / "out").string() +
                     "' '" + (tree.Root() / "full.eml").string() + "' '" + (tree.Root() / "made.eml").string() +
                     "' 2>&1"),
            "2 files 5 attachments 1 messages\n");
  const std::vector<std::string> bytes{std::string("\x89PNG\0\x01", 6), "GIF", std::string(3000, '\xff'), "x", "PNG"};
  for (std::size_t i = 0; i < bytes.size(); ++i)
    EXPECT_EQ(ReadFile(tree.Root() / "out" / std::to_string(i + 1)), bytes[i]) << i + 1;
}

}  // namespace
}  // namespace qs

#include "mailstore/message/text_forms.h"

#include <gtest/gtest.h>

#include "mailstore/mime/message_reading.h"
#include "tests/common/temp_tree.h"

namespace qs::dirstore {
namespace {

using namespace std::string_literals;

ItemFacts Facts() {
  ItemFacts facts;
  facts.sent_on = MakeDateTime(2009, 6, 30, 17, 5, 0);
  auto locale = std::make_shared<LocaleFacts>();
  locale->clock_24h = false;
  locale->date_order = DateOrder::DayMonthYear;
  facts.locale = locale;
  return facts;
}

MessageContent Plain() {
  return ReadMessageContent(
      "From: =?UTF-8?B?SsO8cmdlbg==?= <j@example.org>\nTo: Tom <t@example.org>, x@example.org\n"
      "Cc: C <c@example.org>\nSubject: =?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?= & <c>\n"
      "Content-Type: multipart/mixed; boundary=B\n\n--B\nContent-Type: text/plain; charset=utf-8\n\n"
      "Grüße {x} \\ 😀\nline 2\n--B\nContent-Type: image/png; name=p.png\n\nx\n--B--\n");
}

// A mail without a date has no Sent line, nor Cc and Attachments lines when
// it has none of them; an HTML body is read as text.
TEST(TextForms, TextHasTheHeaderBlockAndCrLf) {
  EXPECT_EQ(WholeBytes(TextForm(Plain(), Facts())),
            "From:\tJürgen <j@example.org>\r\nSent:\tTuesday, 30 June 2009 5:05 PM\r\n"
            "To:\tTom; x@example.org\r\nCc:\tC\r\nSubject:\tab & <c>\r\nAttachments:\tp.png\r\n"
            "\r\nGrüße {x} \\ 😀\r\nline 2");
  ItemFacts undated = Facts();
  undated.sent_on = NoDate();
  const auto text = [&undated](const char* mail) { return WholeBytes(TextForm(ReadMessageContent(mail), undated)); };
  EXPECT_EQ(text("Subject: s\r\n\r\na\rb\r\n"), "From:\t\r\nTo:\t\r\nSubject:\ts\r\n\r\na\r\nb\r\n");
  EXPECT_EQ(text("Content-Type: text/html\n\n<ol><li>one<li><a href=\"x:y\">two</a></ol><p>Hello&nbsp;there"),
            "From:\t\r\nTo:\t\r\nSubject:\t\r\n\r\n1. one\r\n2. two <x:y>\r\n\r\nHello\xc2\xa0there\r\n");
}

// unrtf, a reader nobody on the team wrote, shows the text; the groups
// balance and every byte is ASCII.
TEST(TextForms, RichTextEscapesAndBoldLabels) {
  // Control characters stay the bytes they are, in lower-case hex.
  EXPECT_NE(WholeBytes(RichTextForm(ReadMessageContent("Subject: s\n\na\x01\x1f" "b\n"), Facts()))
                .find("a\\'01\\'1fb"),
            std::string::npos);
  const std::string rtf = WholeBytes(RichTextForm(Plain(), Facts()));
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    EXPECT_LT(static_cast<unsigned char>(rtf[i]), 0x80);
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{' || rtf[i] == '}') {
      depth += rtf[i] == '{' ? 1 : -1;
      EXPECT_GE(depth, 0);
    }
  }
  EXPECT_EQ(depth, 0);
  qs::testing::TempTree tree;
  tree.Write("m.rtf", rtf);
  const std::string html =
      qs::testing::OutputOf("unrtf --html '" + (tree.Root() / "m.rtf").string() + "' 2>&1");
  for (const char* shown :
       {"<b>From:</b>", "J&uuml;rgen", "Gr&uuml;&szlig;e {x} \\ &#55357;&#56832;", "line 2"})
    EXPECT_NE(html.find(shown), std::string::npos) << shown << " in " << html;
}

// An HTML body gets the charset it is now in; a text body becomes escaped
// HTML. A body decoded from the mail each time it is written comes in pieces
// that may cut a CR LF or a UTF-8 sequence: every form is made as from the
// whole, a NUL kept.
TEST(TextForms, HtmlAndABodyInPiecesWrittenAsTheWhole) {
  EXPECT_EQ(WholeBytes(HtmlForm(
                ReadMessageContent("Content-Type: text/html; charset=iso-8859-1\n\n<html><HEAD>"
                                   "<meta charset=\"iso-8859-1\"></head><body>\xe9</body></html>"),
                Facts())),
            "<html><HEAD><meta charset=\"utf-8\"><meta "
            "charset=\"iso-8859-1\"></head><body>é</body></html>");
  struct OneByteAtATime final : ByteSource {
    explicit OneByteAtATime(std::string bytes) : text(std::move(bytes)) {}
    void WriteTo(const ByteSink& sink) const override {
      for (const char& c : text) sink(std::string_view(&c, 1));
    }
    std::string text;
  };
  const std::string body =
      "a\r\nb\rc\n\r\r\nd\0{\\} \xd0\x93r\xc3\xbc\xf0\x9f\x98\x80<&>\xff\xe6\xb5\r\n0123456789\"0123456789"s;
  MessageContent whole = Plain(), pieces = Plain();
  whole.text_body = std::make_shared<const HeldBytes>(body);
  pieces.text_body = std::make_shared<const OneByteAtATime>(body);
  EXPECT_NE(WholeBytes(TextForm(whole, Facts())).find("\r\nd\0{\\} "s), std::string::npos);
  const std::string html = WholeBytes(HtmlForm(whole, Facts()));
  for (const char* shown : {"<b>Subject:</b> ab &amp; &lt;c&gt;<br>", "&lt;&amp;&gt;", "0123456789&quot;0123456789"})
    EXPECT_NE(html.find(shown), std::string::npos) << shown;
  EXPECT_EQ(WholeBytes(TextForm(pieces, Facts())), WholeBytes(TextForm(whole, Facts())));
  EXPECT_EQ(WholeBytes(RichTextForm(pieces, Facts())), WholeBytes(RichTextForm(whole, Facts())));
  EXPECT_EQ(WholeBytes(HtmlForm(pieces, Facts())), WholeBytes(HtmlForm(whole, Facts())));
}

}  // namespace
}  // namespace qs::dirstore

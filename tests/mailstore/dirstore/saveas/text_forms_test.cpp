#include "mailstore/dirstore/saveas/text_forms.h"

#include <gtest/gtest.h>

#include "mailstore/dirstore/saveas/header_lines.h"
#include "mailstore/dirstore/saveas/html_text.h"
#include "tests/mailstore/dirstore/saveas/saved_item.h"

namespace qs::dirstore {
namespace {

ItemFacts Facts() {
  ItemFacts facts;
  facts.sent_on = MakeDateTime(2009, 6, 30, 17, 5, 0);
  facts.locale.clock_24h = false;
  return facts;
}

MessageContent Plain() {
  return ReadMessageContent(
      "From: =?UTF-8?B?SsO8cmdlbg==?= <j@example.org>\nTo: Tom <t@example.org>, x@example.org\n"
      "Cc: C <c@example.org>\nSubject: =?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?= & <c>\n"
      "Content-Type: multipart/mixed; boundary=B\n\n--B\nContent-Type: text/plain; charset=utf-8\n\n"
      "Grüße {x} \\ 😀\nline 2\n--B\nContent-Type: image/png; name=p.png\n\nx\n--B--\n");
}

TEST(TextForms, LongDateInTheLocalesNamesAndOrder) {
  LocaleFacts locale;
  locale.clock_24h = false;
  const DateTime time = MakeDateTime(2009, 6, 30, 17, 5, 0);
  EXPECT_EQ(LongDate(time, locale), "Tuesday, June 30, 2009 5:05 PM");
  EXPECT_EQ(LongDate(MakeDateTime(2009, 6, 30, 0, 5, 0), locale), "Tuesday, June 30, 2009 12:05 AM");
  locale.clock_24h = true;
  locale.date_order = DateOrder::DayMonthYear;
  locale.day_names[2] = "Dienstag";
  locale.month_names[5] = "Juni";
  EXPECT_EQ(LongDate(time, locale), "Dienstag, 30 Juni 2009 17:05");
}

TEST(TextForms, TextHasTheHeaderBlockAndCrLf) {
  EXPECT_EQ(WholeBytes(TextForm(Plain(), Facts())),
            "From:\tJürgen <j@example.org>\r\nSent:\tTuesday, June 30, 2009 5:05 PM\r\n"
            "To:\tTom; x@example.org\r\nCc:\tC\r\nSubject:\tab & <c>\r\nAttachments:\tp.png\r\n"
            "\r\nGrüße {x} \\ 😀\r\nline 2");
  // A mail without a date has no Sent line, nor Cc and Attachments lines
  // when it has none of them.
  ItemFacts undated = Facts();
  undated.sent_on = NoDate();
  EXPECT_EQ(WholeBytes(TextForm(ReadMessageContent("Subject: s\r\n\r\na\rb\r\n"), undated)),
            "From:\t\r\nTo:\t\r\nSubject:\ts\r\n\r\na\r\nb\r\n");
}

TEST(TextForms, RichTextEscapesAndBoldLabels) {
  const std::string rtf = WholeBytes(RichTextForm(Plain(), Facts()));
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("{\\b From:}\\tab J\\u252\\'3frgen <j@example.org>\\par"), std::string::npos);
  EXPECT_NE(rtf.find("Gr\\u252\\'3f\\u223\\'3fe \\{x\\} \\\\ \\u-10179\\'3f\\u-8704\\'3f\\par"), std::string::npos);
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}') {
      EXPECT_GE(--depth, 0);
    }
  }
  EXPECT_EQ(depth, 0);
  for (unsigned char c : rtf) EXPECT_LT(c, 0x80);
}

// The charset conversions keep a NUL (their own tests say so); the forms
// must not cut the text there either.
TEST(TextForms, ANulInTheBodyIsKeptInEveryForm) {
  using namespace std::string_literals;
  const MessageContent content = ReadMessageContent(
      "Subject: s\nContent-Transfer-Encoding: base64\n\nYm9keQBib2R5Cg==\n"s);
  EXPECT_NE(WholeBytes(TextForm(content, Facts())).find("\r\n\r\nbody\0body\r\n"s), std::string::npos);
  EXPECT_NE(WholeBytes(RichTextForm(content, Facts())).find("\\par\r\nbody\\'00body\\par"s),
            std::string::npos);
  EXPECT_NE(WholeBytes(HtmlForm(content, Facts())).find("<pre>body\0body\n</pre>"s), std::string::npos);
}

// A body decoded from the mail each time it is written comes in pieces that
// may cut a CR LF or a UTF-8 sequence; every form is made as from the whole.
TEST(TextForms, ABodyInPiecesIsWrittenAsTheWholeOfIt) {
  class OneByteAtATime final : public ByteSource {
   public:
    explicit OneByteAtATime(std::string text) : text_(std::move(text)) {}
    void WriteTo(const ByteSink& sink) const override {
      for (const char& c : text_) sink(std::string_view(&c, 1));
    }

   private:
    std::string text_;
  };
  const std::string body("a\r\nb\rc\n\r\r\nd\0{\\} \xd0\x93r\xc3\xbc\xf0\x9f\x98\x80<&>\xff\xe6\xb5\r", 32);
  MessageContent whole = Plain();
  MessageContent pieces = Plain();
  whole.text_body = std::make_shared<const HeldBytes>(body);
  pieces.text_body = std::make_shared<const OneByteAtATime>(body);
  EXPECT_EQ(WholeBytes(TextForm(pieces, Facts())), WholeBytes(TextForm(whole, Facts())));
  EXPECT_EQ(WholeBytes(RichTextForm(pieces, Facts())), WholeBytes(RichTextForm(whole, Facts())));
  EXPECT_EQ(WholeBytes(HtmlForm(pieces, Facts())), WholeBytes(HtmlForm(whole, Facts())));
}

// unrtf, a reader nobody on the team wrote, shows the same text.
TEST(TextForms, UnrtfReadsTheRichText) {
  if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
  qs::testing::TempTree tree;
  tree.Write("m.rtf", WholeBytes(RichTextForm(Plain(), Facts())));
  const std::string html = qs::testing::OutputOf("unrtf --html '" + (tree.Root() / "m.rtf").string() +
                                                 "' 2>/dev/null");
  EXPECT_NE(html.find("<b>From:</b>"), std::string::npos) << html;
  EXPECT_NE(html.find("J&uuml;rgen"), std::string::npos) << html;
  EXPECT_NE(html.find("Gr&uuml;&szlig;e {x} \\ &#55357;&#56832;"), std::string::npos) << html;
  EXPECT_NE(html.find("line 2"), std::string::npos) << html;
}

TEST(TextForms, HtmlBodyGetsACharsetAndTextBecomesEscapedHtml) {
  const MessageContent html = ReadMessageContent(
      "Subject: h\nContent-Type: text/html; charset=iso-8859-1\n\n"
      "<html><HEAD><meta charset=\"iso-8859-1\"></head><body>\xe9<img src=\"cid:a@b\"></body></html>");
  EXPECT_EQ(WholeBytes(HtmlForm(html, Facts())),
            "<html><HEAD><meta charset=\"utf-8\"><meta charset=\"iso-8859-1\"></head>"
            "<body>é<img src=\"cid:a@b\"></body></html>");
  const std::string page = WholeBytes(HtmlForm(Plain(), Facts()));
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("<b>Subject:</b> ab &amp; &lt;c&gt;<br>"), std::string::npos);
  EXPECT_NE(page.find("<pre>Grüße {x}"), std::string::npos);
}

}  // namespace
}  // namespace qs::dirstore

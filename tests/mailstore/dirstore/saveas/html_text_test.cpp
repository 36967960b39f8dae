#include "mailstore/dirstore/saveas/html_text.h"

#include <gtest/gtest.h>

#include "mailstore/dirstore/saveas/message_content.h"
#include "mailstore/dirstore/saveas/text_forms.h"

namespace qs::dirstore {
namespace {

TEST(HtmlText, ReadableTextOfHtml) {
  EXPECT_EQ(HtmlToText("<html><head><title>T</title><style>p{color:red}</style></head><body>"
                       "<script>alert(1)</script><p>One\n  two</p><p>Three<br>four</p>"
                       "<ul><li>a</li><li>b</li></ul>"
                       "<a href=\"https://example.org/x\">site</a> "
                       "<a href=\"mailto:m@example.org\">m@example.org</a></body></html>"),
            "One two\n\nThree\nfour\n\n* a\n* b\n\nsite <https://example.org/x> m@example.org\n");
  EXPECT_EQ(HtmlToText("<ol><li>first</li><li>second<ul><li>inner</li></ul></li><li>third</ol>"),
            "1. first\n2. second\n\n* inner\n\n3. third\n");
  EXPECT_EQ(HtmlToText(""), "");
  EXPECT_EQ(HtmlToText("<p>unclosed <b>bold"), "unclosed bold\n");
  const MessageContent only_html =
      ReadMessageContent("Subject: s\nContent-Type: text/html\n\n<p>Hello&nbsp;there</p>");
  EXPECT_EQ(WholeBytes(*BodyAsText(only_html)), "Hello\xc2\xa0there\n");
}

}  // namespace
}  // namespace qs::dirstore

// The Windows build's reading of an HTML body as text.
#include <gtest/gtest.h>

#include "mailstore/html/html_text.h"

namespace qs {
namespace {

TEST(HtmlTextWin32, TagsOutLinesInHeadAndScriptsDropped) {
  const struct {
    const char* html;
    const char* text;
  } cases[] = {
      {"<html><head><title>T</title><style>p{}</style></head><body><p>One</p><div>Two<br>Three</div>",
       "One\nTwo\nThree\n"},
      {"<b>bold</b>\r\n<i>and</i> <script>x<y</script>plain", "bold and plain\n"},
      {"&lt;a&gt; &amp; &quot;q&quot;&nbsp;&#233;&#x263A; &unknown; & alone", "<a> & \"q\" \xC3\xA9\xE2\x98\xBA &unknown; & alone\n"},
      {"<!-- <p>hidden</p> -->shown<ul><li>a<li>b</ul>", "shown\na\nb\n"},
      {"cut <a href=\"x", "cut \n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlToText(c.html), c.text) << c.html;
}

}  // namespace
}  // namespace qs

#include "app/posix/json_text.h"

#include <gtest/gtest.h>

#include "tests/common/scoped_environment.h"

namespace qs {
namespace {

TEST(JsonString, EscapesWhatJsonCannotHoldAndRepairsBrokenUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {"a\tb\r\nc\x01\x1f\x7f", "\"a\\u0009b\\u000D\\u000Ac\\u0001\\u001F\\u007F\""},
      {"Grüner Tee 茶 😀", "\"Grüner Tee 茶 😀\""},
      {"bad \xff end", "\"bad \xEF\xBF\xBD end\""},
      {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""},
      {std::string("nul\0", 4), "\"nul\\u0000\""},
  };
  for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(JsonLocalTime, GivesTheOffsetTheZoneHadThenAndNullForNoDate) {
  const testing::ScopedEnvironment zone("TZ", "EST5EDT,M3.2.0,M11.1.0");
  EXPECT_EQ(JsonLocalTime(MakeDateTime(2009, 12, 5, 7, 3, 9)), "\"2009-12-05T07:03:09-05:00\"");
  EXPECT_EQ(JsonLocalTime(MakeDateTime(2019, 6, 30, 23, 0, 0)), "\"2019-06-30T23:00:00-04:00\"");
  const testing::ScopedEnvironment india("TZ", "IST-5:30");
  EXPECT_EQ(JsonLocalTime(MakeDateTime(1999, 1, 2, 3, 4, 5)), "\"1999-01-02T03:04:05+05:30\"");
  EXPECT_EQ(JsonLocalTime(NoDate()), "null");
}

}  // namespace
}  // namespace qs

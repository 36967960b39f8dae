// The locale facts of whatever system runs the tests, checked for what the
// date texts rely on.

#include <gtest/gtest.h>

#include <set>

#include "mailstore/date_parse.h"
#include "mailstore/date_text.h"
#include "platform/locale.h"

namespace qs {
namespace {

TEST(LocaleFacts, NamesAreCompleteAndDistinct) {
  const LocaleFacts facts = CurrentLocaleFacts();
  const std::set<std::string> months(facts.month_names.begin(), facts.month_names.end());
  const std::set<std::string> days(facts.day_names.begin(), facts.day_names.end());
  EXPECT_EQ(months.size(), 12u);
  EXPECT_EQ(days.size(), 7u);
  EXPECT_FALSE(months.count(""));
  EXPECT_FALSE(facts.date_separator.empty());
  EXPECT_FALSE(facts.time_separator.empty());
  if (facts.month_names[0] == "January") {
    // Weekdays are kept from Sunday on, whichever day the system counts from.
    EXPECT_EQ(facts.day_names[0], "Sunday");
    EXPECT_EQ(facts.day_abbreviations[1], "Mon");
    EXPECT_EQ(facts.month_abbreviations[11], "Dec");
  }
}

TEST(LocaleFacts, TheGeneralFormReadsBackAsTheSameDay) {
  const LocaleFacts facts = CurrentLocaleFacts();
  for (const DateTime time : {MakeDateTime(2009, 12, 5, 7, 3, 9), MakeDateTime(2009, 1, 31),
                              MakeDateTime(2024, 2, 29, 23, 59, 59)}) {
    const std::string text = FormatDate(time, "", facts);
    EXPECT_EQ(ParseDate(text, facts), DateOnly(time)) << text;
    EXPECT_EQ(ParseDate(FormatDate(time, "dddd, mmmm d, yyyy hh:nn", facts), facts), DateOnly(time));
    EXPECT_EQ(ParseDate(FormatDate(time, "d mmm yyyy", facts), facts), DateOnly(time));
  }
}

}  // namespace
}  // namespace qs

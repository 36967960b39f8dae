#include "mailstore/date_parse.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

std::optional<DateTime> Parse(std::string_view text, const LocaleFacts& locale = LocaleFacts{}) {
  return ParseDate(text, locale);
}

LocaleFacts DayFirst() {
  LocaleFacts facts;
  facts.date_order = DateOrder::DayMonthYear;
  // Assigned from std::string: GCC 12 warns falsely (-Wrestrict) on a literal here at -O2.
  facts.date_separator = std::string(".");
  return facts;
}

TEST(DateParse, YearMonthDayWithFourDigitYear) {
  EXPECT_EQ(Parse("2009-06-30"), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("2009/6/30"), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("  2009-06-30  "), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("2009-06-30", DayFirst()), MakeDateTime(2009, 6, 30));
}

TEST(DateParse, NumbersInTheLocalesOrder) {
  EXPECT_EQ(Parse("6/30/2009"), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("06-30-2009"), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("30.06.2009", DayFirst()), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("30 6 2009", DayFirst()), MakeDateTime(2009, 6, 30));
  LocaleFacts year_first;
  year_first.date_order = DateOrder::YearMonthDay;
  EXPECT_EQ(Parse("09/06/30", year_first), MakeDateTime(2009, 6, 30));
  EXPECT_FALSE(Parse("30/6/2009"));  // no 30th month
}

TEST(DateParse, MonthNamesInAnyUsualOrder) {
  const auto expected = MakeDateTime(2009, 6, 30);
  EXPECT_EQ(Parse("30 June 2009"), expected);
  EXPECT_EQ(Parse("June 30, 2009"), expected);
  EXPECT_EQ(Parse("30-Jun-09"), expected);
  EXPECT_EQ(Parse("jun 30 2009"), expected);
  EXPECT_EQ(Parse("2009 JUN 30"), expected);
  EXPECT_EQ(Parse("Tue, 30 Jun 2009"), expected);
  LocaleFacts german = DayFirst();
  german.month_names[11] = std::string("Dezember");
  german.month_abbreviations[11] = std::string("Dez");
  EXPECT_EQ(Parse("5. Dezember 2009", german), MakeDateTime(2009, 12, 5));
  EXPECT_EQ(Parse("5 Dez 09", german), MakeDateTime(2009, 12, 5));
  EXPECT_FALSE(Parse("30 Juny 2009"));
  EXPECT_FALSE(Parse("June July 2009"));
}

TEST(DateParse, TimeOfDayIsDropped) {
  const auto expected = MakeDateTime(2009, 6, 30);
  EXPECT_EQ(Parse("2009-06-30 17:00"), expected);
  EXPECT_EQ(Parse("2009-06-30T17:00:05"), expected);
  EXPECT_EQ(Parse("6/30/2009 5:00 PM"), expected);
  EXPECT_EQ(Parse("30 June 2009 23:59:59"), expected);
  EXPECT_FALSE(Parse("2009-06-30 25:00"));
  EXPECT_FALSE(Parse("2009-06-30 17:00 tomorrow"));
}

// Finnish writes "30.6.2009 17.00": the time separator is a date separator too.
TEST(DateParse, ATimeSeparatorThatAlsoSeparatesDates) {
  LocaleFacts finnish = DayFirst();
  finnish.time_separator = std::string(".");
  EXPECT_EQ(Parse("30.6.2009", finnish), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("1.2.09", finnish), MakeDateTime(2009, 2, 1));
  EXPECT_EQ(Parse("30.6.2009 17.00", finnish), MakeDateTime(2009, 6, 30));
  EXPECT_EQ(Parse("30.6.2009 17.00.05", finnish), MakeDateTime(2009, 6, 30));
  EXPECT_FALSE(Parse("30.6.2009 25.00", finnish));
  EXPECT_FALSE(Parse("17.00", finnish));
}

TEST(DateParse, TwoDigitYearsAsWindowsReadsThem) {
  EXPECT_EQ(Parse("1/1/00"), MakeDateTime(2000, 1, 1));
  EXPECT_EQ(Parse("1/1/29"), MakeDateTime(2029, 1, 1));
  EXPECT_EQ(Parse("1/1/30"), MakeDateTime(1930, 1, 1));
  EXPECT_EQ(Parse("12/31/99"), MakeDateTime(1999, 12, 31));
  EXPECT_EQ(Parse("1/1/0199"), MakeDateTime(199, 1, 1));
}

TEST(DateParse, TextsThatAreNoDate) {
  for (std::string_view text : {"", "   ", "yesterday", "2009-02-30", "2009-06-30 garbage",
                                "6/30", "1/2/3/4", "2009-13-01", "12345/1/1", "#2009-06-30#"})
    EXPECT_FALSE(Parse(text)) << text;
}

TEST(DateParse, DateOrDefaultFallsBack) {
  const DateTime fallback = MakeDateTime(1900, 1, 1);
  const LocaleFacts locale;
  EXPECT_EQ(DateOrDefault("", fallback, locale), fallback);
  EXPECT_EQ(DateOrDefault("not a date", fallback, locale), fallback);
  EXPECT_EQ(DateOrDefault("2009-06-30 17:00", fallback, locale), MakeDateTime(2009, 6, 30));
}

}  // namespace
}  // namespace qs

#include "mailstore/date_text.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

const DateTime kMorning = MakeDateTime(2009, 12, 5, 7, 3, 9);  // a Saturday

std::string Format(std::string_view pattern, DateTime time = kMorning,
                   const LocaleFacts& locale = LocaleFacts{}) {
  return FormatDate(time, pattern, locale);
}

TEST(DateText, WritesTheCommonPatterns) {
  EXPECT_EQ(Format("dd/mm/yyyy HH:MM:SS"), "05/12/2009 07:03:09");
  EXPECT_EQ(Format("yyyymmdd HHMMSS"), "20091205 070309");
  EXPECT_EQ(Format("yymmdd HHMMSS"), "091205 070309");
  EXPECT_EQ(Format("dd Mmm yy HH:MM"), "05 Dec 09 07:03");
  EXPECT_EQ(Format("YYYY-MM-DD"), "2009-12-05");
}

TEST(DateText, MIsTheMinuteOnlyRightAfterAnHourToken) {
  EXPECT_EQ(Format("h m"), "7 3");
  EXPECT_EQ(Format("hh\"h\"mm"), "07h03");
  EXPECT_EQ(Format("mm"), "12");
  EXPECT_EQ(Format("hh dd mm"), "07 05 12");
  EXPECT_EQ(Format("hh mmm"), "07 Dec");
  EXPECT_EQ(Format("nn:ss mm"), "03:09 12");
}

TEST(DateText, EveryTokenOfTheTable) {
  EXPECT_EQ(Format("d|dd|ddd|dddd"), "5|05|Sat|Saturday");
  EXPECT_EQ(Format("m|mm|mmm|mmmm"), "12|12|Dec|December");
  EXPECT_EQ(Format("y|yy|yyyy"), "339|09|2009");
  EXPECT_EQ(Format("h|hh|n|nn|s|ss"), "7|07|3|03|9|09");
  // Saturday is day 7; 1 January 2009 was a Thursday, so 5 December lies in week 49.
  EXPECT_EQ(Format("w|ww|q"), "7|49|4");
  EXPECT_EQ(Format("ww", MakeDateTime(2009, 1, 3)), "1");
  EXPECT_EQ(Format("ww", MakeDateTime(2009, 1, 4)), "2");
  EXPECT_EQ(Format("q", MakeDateTime(2009, 3, 31)), "1");
  EXPECT_EQ(Format("y", MakeDateTime(2008, 12, 31)), "366");
}

TEST(DateText, TwelveHourClockWithMarks) {
  const DateTime evening = MakeDateTime(2009, 12, 5, 19, 3, 0);
  const DateTime after_midnight = MakeDateTime(2009, 12, 5, 0, 30, 0);
  const DateTime noon = MakeDateTime(2009, 12, 5, 12, 0, 0);
  EXPECT_EQ(Format("h:nn AM/PM", evening), "7:03 PM");
  EXPECT_EQ(Format("hh:nn am/pm", after_midnight), "12:30 am");
  EXPECT_EQ(Format("h A/P", noon), "12 P");
  EXPECT_EQ(Format("h a/p", kMorning), "7 a");
  EXPECT_EQ(Format("hh:nn", evening), "19:03");
}

TEST(DateText, LiteralsAndLocaleSeparators) {
  LocaleFacts german;
  // Assigned from std::string: GCC 12 warns falsely (-Wrestrict) on a literal here at -O2.
  german.date_separator = std::string(".");
  german.time_separator = std::string("h");
  german.month_names[11] = std::string("Dezember");
  EXPECT_EQ(Format("dd/mm/yyyy hh:nn", kMorning, german), "05.12.2009 07h03");
  EXPECT_EQ(Format("d. mmmm yyyy", kMorning, german), "5. Dezember 2009");
  EXPECT_EQ(Format("\\d\\a\\y d"), "day 5");
  EXPECT_EQ(Format("\"week\" ww"), "week 49");
  EXPECT_EQ(Format("yyyy年m月d日"), "2009年12月5日");
  EXPECT_EQ(Format("[yyyy]_#"), "[2009]_#");
  EXPECT_EQ(Format("\"unclosed"), "unclosed");
}

TEST(DateText, EmptyPatternGivesTheGeneralForm) {
  EXPECT_EQ(Format(""), "12/05/09 07:03:09");
  EXPECT_EQ(Format("", MakeDateTime(2009, 12, 5)), "12/05/09");
  LocaleFacts british;
  british.date_order = DateOrder::DayMonthYear;
  british.four_digit_year = true;
  british.clock_24h = false;
  british.hour_leading_zero = false;
  EXPECT_EQ(Format("", MakeDateTime(2009, 12, 5, 19, 3, 9), british), "05/12/2009 7:03:09 PM");
  LocaleFacts swedish;
  swedish.date_order = DateOrder::YearMonthDay;
  swedish.date_separator = std::string("-");
  swedish.four_digit_year = true;
  EXPECT_EQ(Format("", MakeDateTime(2009, 12, 5), swedish), "2009-12-05");
}

TEST(DateText, OutlooksNoDateIsWrittenLikeAnyOther) {
  EXPECT_EQ(Format("yyyy-mm-dd hh:nn", NoDate()), "4501-01-01 00:00");
}

}  // namespace
}  // namespace qs

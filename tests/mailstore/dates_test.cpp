// Date texts: written by a pattern, and read as the user types them.
#include <gtest/gtest.h>

#include <set>

#include "mailstore/date_parse.h"
#include "mailstore/date_text.h"

namespace qs {
namespace {

const DateTime kMorning = MakeDateTime(2009, 12, 5, 7, 3, 9);  // a Saturday
const DateTime kEvening = MakeDateTime(2009, 12, 5, 19, 3, 9);

// Assigned from std::string: GCC 12 warns falsely (-Wrestrict) on a literal here at -O2.
LocaleFacts German() {
  LocaleFacts german;
  german.date_order = DateOrder::DayMonthYear;
  german.date_separator = std::string(".");
  german.time_separator = std::string("h");
  german.month_names[11] = std::string("Dezember");
  german.month_abbreviations[11] = std::string("Dez");
  return german;
}

TEST(DateText, PatternsAndLocales) {
  const LocaleFacts us, german = German();
  const LocaleFacts british{.date_order = DateOrder::DayMonthYear, .four_digit_year = true,
                            .clock_24h = false, .hour_leading_zero = false};
  const LocaleFacts swedish{.date_separator = "-", .date_order = DateOrder::YearMonthDay,
                            .four_digit_year = true};
  const struct {
    std::string_view pattern;
    DateTime time;
    const LocaleFacts& locale;
    std::string_view text;
  } rows[] = {
      {"dd/mm/yyyy HH:MM:SS", kMorning, us, "05/12/2009 07:03:09"},
      // m is the minute only right after an hour token.
      {"h m|hh\"h\"mm|mm|hh dd mm|hh mmm|nn:ss mm", kMorning, us,
       "7 3|07h03|12|07 05 12|07 Dec|03:09 12"},
      {"d|dd|ddd|dddd|m|mm|mmm|mmmm", kMorning, us, "5|05|Sat|Saturday|12|12|Dec|December"},
      {"y|yy|yyyy|h|hh|n|nn|s|ss", kMorning, us, "339|09|2009|7|07|3|03|9|09"},
      // 1 January 2009 was a Thursday, so 5 December lies in week 49.
      {"w|ww|q", kMorning, us, "7|49|4"}, {"ww", MakeDateTime(2009, 1, 3), us, "1"},
      {"ww", MakeDateTime(2009, 1, 4), us, "2"}, {"q", MakeDateTime(2009, 3, 31), us, "1"},
      {"y", MakeDateTime(2008, 12, 31), us, "366"}, {"h:nn AM/PM", kEvening, us, "7:03 PM"},
      {"hh:nn am/pm", MakeDateTime(2009, 1, 1, 0, 30), us, "12:30 am"},
      {"h A/P", MakeDateTime(2009, 1, 1, 12), us, "12 P"},
      {"h a/p|hh:nn", kMorning, us, "7 a|07:03"},
      {"dd/mm/yyyy hh:nn|d. mmmm yyyy", kMorning, german, "05.12.2009 07h03|5. Dezember 2009"},
      {"\\d\\a\\y d \"week\" ww yyyy年m月d日 [yyyy]_#", kMorning, us,
       "day 5 week 49 2009年12月5日 [2009]_#"},
      {"\"unclosed", kMorning, us, "unclosed"},
      {"yyyy-mm-dd hh:nn", NoDate(), us,
       "4501-01-01 00:00"},  // Outlook's none, like any other date
      // An empty pattern: the locale's general form, without a time at midnight.
      {"", kMorning, us, "12/05/09 07:03:09"}, {"", MakeDateTime(2009, 12, 5), us, "12/05/09"},
      {"", kEvening, british, "05/12/2009 7:03:09 PM"},
      {"", MakeDateTime(2009, 12, 5), swedish, "2009-12-05"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FormatDate(row.time, row.pattern, row.locale), row.text) << row.pattern;
}

TEST(DateParse, TextsInTheLocalesWays) {
  const LocaleFacts us, german = German(), year_first{.date_order = DateOrder::YearMonthDay};
  // Finnish writes "30.6.2009 17.00": the time separator is a date separator too.
  LocaleFacts finnish = german;
  finnish.time_separator = std::string(".");
  const std::optional<DateTime> june30 = MakeDateTime(2009, 6, 30), none;
  const struct {
    std::string_view text;
    const LocaleFacts& locale;
    std::optional<DateTime> date;
  } rows[] = {
      {"  2009/6/30  ", us, june30}, {"2009-06-30", german, june30}, {"06-30-2009", us, june30},
      {"30.06.2009", german, june30}, {"30 6 2009", german, june30},
      {"09/06/30", year_first, june30},
      {"30/6/2009", us, none},  // no 30th month
      {"June 30, 2009", us, june30}, {"30-Jun-09", us, june30}, {"2009 JUN 30", us, june30},
      {"Tue, 30 Jun 2009", us, june30}, {"5. Dezember 2009", german, MakeDateTime(2009, 12, 5)},
      {"5 Dez 09", german, MakeDateTime(2009, 12, 5)}, {"30 Juny 2009", us, none},
      {"June July 2009", us, none},
      // A time of day is passed over, but it must be one.
      {"2009-06-30T17:00:05", us, june30}, {"6/30/2009 5:00 PM", us, june30},
      {"2009-06-30 25:00", us, none}, {"2009-06-30 17:00 tomorrow", us, none},
      {"1.2.09", finnish, MakeDateTime(2009, 2, 1)}, {"30.6.2009 17.00.05", finnish, june30},
      {"30.6.2009 25.00", finnish, none}, {"17.00", finnish, none},
      // Two-digit years as Windows reads them.
      {"1/1/00", us, MakeDateTime(2000, 1, 1)}, {"1/1/29", us, MakeDateTime(2029, 1, 1)},
      {"1/1/30", us, MakeDateTime(1930, 1, 1)}, {"1/1/0199", us, MakeDateTime(199, 1, 1)},
      {"", us, none}, {"2009-02-30", us, none}, {"6/30", us, none}, {"1/2/3/4", us, none},
      {"12345/1/1", us, none}, {"#2009-06-30#", us, none},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseDate(row.text, row.locale), row.date) << row.text;
}

// The facts of whatever system runs the tests: what the program writes by
// them reads back as the same day.
TEST(DateParse, TheSystemsLocaleReadsBackItsOwnTexts) {
  const LocaleFacts facts = CurrentLocaleFacts();
  EXPECT_EQ(std::set<std::string>(facts.month_names.begin(), facts.month_names.end()).size(), 12u);
  for (const DateTime time : {kMorning, MakeDateTime(2024, 2, 29, 23, 59, 59)})
    for (const char* pattern : {"", "dddd, mmmm d, yyyy hh:nn", "d mmm yyyy"})
      EXPECT_EQ(ParseDate(FormatDate(time, pattern, facts), facts), DateOnly(time)) << pattern;
}

}  // namespace
}  // namespace qs

#pragma once
// Facts of the user's locale that date texts need. Only facts: formatting and
// reading dates is the program's own code, the same in every build.

#include <array>
#include <string>

namespace qs {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct LocaleFacts {
  std::string date_separator = "/";
  std::string time_separator = ":";
  // The order of day, month and year in the short date.
  DateOrder date_order = DateOrder::MonthDayYear;
  bool day_leading_zero = true;
  bool month_leading_zero = true;
  bool four_digit_year = false;
  bool clock_24h = true;
  bool hour_leading_zero = true;
  std::string am = "AM";
  std::string pm = "PM";
  std::array<std::string, 12> month_names{"January", "February", "March",     "April",
                                          "May",     "June",     "July",      "August",
                                          "September", "October", "November", "December"};
  std::array<std::string, 12> month_abbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Sunday first.
  std::array<std::string, 7> day_names{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> day_abbreviations{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

// The facts of the locale the program runs under, in UTF-8. The defaults
// above are those of the C locale.
LocaleFacts CurrentLocaleFacts();

}  // namespace qs

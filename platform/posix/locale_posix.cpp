#include <langinfo.h>

#include <string_view>

#include "platform/locale.h"

namespace qs {

namespace {

std::string Info(nl_item item) {
  const char* text = nl_langinfo(item);
  return text ? text : "";
}

// Reads the short-date facts from a strftime pattern such as "%d.%m.%Y".
void ReadDatePattern(std::string_view pattern, LocaleFacts& facts) {
  if (pattern == "%D" || pattern.empty()) pattern = "%m/%d/%y";
  if (pattern == "%F") pattern = "%Y-%m-%d";
  std::string order;
  std::string separator;
  bool separator_done = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      if (order.size() == 1 && !separator_done) separator += pattern[i];
      continue;
    }
    char field = pattern[++i];
    while ((field == '-' || field == '_' || field == '0' || field == 'E' || field == 'O') &&
           i + 1 < pattern.size()) {
      if (field == '-' || field == '_') {
        if (pattern[i + 1] == 'd') facts.day_leading_zero = false;
        if (pattern[i + 1] == 'm') facts.month_leading_zero = false;
      }
      field = pattern[++i];
    }
    char kind = 0;
    switch (field) {
      case 'd': kind = 'd'; break;
      case 'e': kind = 'd', facts.day_leading_zero = false; break;
      case 'm': case 'b': case 'B': case 'h': kind = 'm'; break;
      case 'y': kind = 'y', facts.four_digit_year = false; break;
      case 'Y': case 'C': kind = 'y', facts.four_digit_year = true; break;
      default: break;
    }
    if (!kind) continue;
    if (order.size() == 1) separator_done = true;
    if (order.find(kind) == std::string::npos) order += kind;
  }
  if (order.rfind("dm", 0) == 0) facts.date_order = DateOrder::DayMonthYear;
  else if (order.rfind("y", 0) == 0) facts.date_order = DateOrder::YearMonthDay;
  else facts.date_order = DateOrder::MonthDayYear;
  if (!separator.empty()) facts.date_separator = separator;
}

void ReadTimePattern(std::string_view pattern, LocaleFacts& facts) {
  if (pattern == "%r") pattern = "%I:%M:%S %p";
  if (pattern == "%T" || pattern.empty()) pattern = "%H:%M:%S";
  if (pattern == "%R") pattern = "%H:%M";
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    const char field = pattern[i + 1];
    if (field != 'H' && field != 'I' && field != 'k' && field != 'l') continue;
    facts.clock_24h = field == 'H' || field == 'k';
    facts.hour_leading_zero = field == 'H' || field == 'I';
    const auto end = pattern.find('%', i + 2);
    if (end != std::string_view::npos && end > i + 2)
      facts.time_separator = std::string(pattern.substr(i + 2, end - i - 2));
    return;
  }
}

}  // namespace

LocaleFacts CurrentLocaleFacts() {
  LocaleFacts facts;
  ReadDatePattern(Info(D_FMT), facts);
  ReadTimePattern(Info(T_FMT), facts);
  static constexpr nl_item kMonths[] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                        MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  static constexpr nl_item kShortMonths[] = {ABMON_1, ABMON_2, ABMON_3,  ABMON_4,
                                             ABMON_5, ABMON_6, ABMON_7,  ABMON_8,
                                             ABMON_9, ABMON_10, ABMON_11, ABMON_12};
  static constexpr nl_item kDays[] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
  static constexpr nl_item kShortDays[] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4,
                                           ABDAY_5, ABDAY_6, ABDAY_7};
  for (std::size_t i = 0; i < 12; ++i) {
    if (auto name = Info(kMonths[i]); !name.empty()) facts.month_names[i] = name;
    if (auto name = Info(kShortMonths[i]); !name.empty()) facts.month_abbreviations[i] = name;
  }
  for (std::size_t i = 0; i < 7; ++i) {
    if (auto name = Info(kDays[i]); !name.empty()) facts.day_names[i] = name;
    if (auto name = Info(kShortDays[i]); !name.empty()) facts.day_abbreviations[i] = name;
  }
  if (auto am = Info(AM_STR); !am.empty()) facts.am = am;
  if (auto pm = Info(PM_STR); !pm.empty()) facts.pm = pm;
  return facts;
}

}  // namespace qs

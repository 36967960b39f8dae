#include <langinfo.h>

#include <string_view>
#include <vector>

#include "platform/locale.h"

namespace qs {

namespace {

std::string Info(nl_item item) {
  const char* text = nl_langinfo(item);
  return text ? text : "";
}

// The texts between the conversions of a strftime pattern, and the
// conversions themselves ("%-d" gives '-' then 'd').
struct PatternParts {
  std::string fields;               // conversion letters in order
  std::vector<std::string> gaps;    // gaps[i] lies between fields[i] and fields[i + 1]
  std::string unpadded;             // letters written with "%-" or "%_"
};

PatternParts Split(std::string_view pattern) {
  PatternParts parts;
  std::string gap;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      gap += pattern[i];
      continue;
    }
    char field = pattern[++i];
    bool unpadded = false;
    while ((field == '-' || field == '_' || field == '0' || field == 'E' || field == 'O') &&
           i + 1 < pattern.size()) {
      unpadded = unpadded || field == '-' || field == '_';
      field = pattern[++i];
    }
    if (!parts.fields.empty()) parts.gaps.push_back(gap);
    gap.clear();
    parts.fields += field;
    if (unpadded) parts.unpadded += field;
  }
  return parts;
}

// One separator stands between all three fields, or the locale's pattern
// has none that we can use ("%Y年%m月%d日") and the default stays.
void TakeSeparator(const PatternParts& parts, std::string& separator) {
  if (parts.gaps.size() >= 2 && parts.gaps[0] == parts.gaps[1] && !parts.gaps[0].empty())
    separator = parts.gaps[0];
}

// Reads the short-date facts from a strftime pattern such as "%d.%m.%Y".
void ReadDatePattern(std::string_view pattern, LocaleFacts& facts) {
  if (pattern == "%D" || pattern.empty()) pattern = "%m/%d/%y";
  if (pattern == "%F") pattern = "%Y-%m-%d";
  const PatternParts parts = Split(pattern);
  std::string order;
  for (char field : parts.fields) {
    char kind = 0;
    switch (field) {
      case 'd': case 'e': kind = 'd'; break;
      case 'm': case 'b': case 'B': case 'h': kind = 'm'; break;
      case 'y': case 'Y': case 'C': kind = 'y'; break;
      default: break;
    }
    if (kind && order.find(kind) == std::string::npos) order += kind;
    if (field == 'e' || (field == 'd' && parts.unpadded.find('d') != std::string::npos))
      facts.day_leading_zero = false;
    if (field == 'm' && parts.unpadded.find('m') != std::string::npos)
      facts.month_leading_zero = false;
    if (field == 'y') facts.four_digit_year = false;
    if (field == 'Y' || field == 'C') facts.four_digit_year = true;
  }
  if (order.rfind("dm", 0) == 0) facts.date_order = DateOrder::DayMonthYear;
  else if (order.rfind("y", 0) == 0) facts.date_order = DateOrder::YearMonthDay;
  else facts.date_order = DateOrder::MonthDayYear;
  TakeSeparator(parts, facts.date_separator);
}

void ReadTimePattern(std::string_view pattern, LocaleFacts& facts) {
  if (pattern == "%r") pattern = "%I:%M:%S %p";
  if (pattern == "%T" || pattern.empty()) pattern = "%H:%M:%S";
  if (pattern == "%R") pattern = "%H:%M";
  const PatternParts parts = Split(pattern);
  const auto hour = parts.fields.find_first_of("HIkl");
  if (hour == std::string::npos) return;
  const char field = parts.fields[hour];
  facts.clock_24h = field == 'H' || field == 'k';
  facts.hour_leading_zero = (field == 'H' || field == 'I') &&
                            parts.unpadded.find(field) == std::string::npos;
  if (parts.fields.compare(hour, 3, std::string{field} + "MS") == 0 &&
      parts.gaps[hour] == parts.gaps[hour + 1] && !parts.gaps[hour].empty())
    facts.time_separator = parts.gaps[hour];
  else if (parts.fields.compare(hour, 2, std::string{field} + "M") == 0 &&
           hour + 2 >= parts.fields.size() && !parts.gaps[hour].empty())
    facts.time_separator = parts.gaps[hour];
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

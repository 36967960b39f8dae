#include <windows.h>

#include <string>

#include "platform/locale.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

std::string Info(LCTYPE type) {
  wchar_t buffer[128];
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128) <= 0) return {};
  return win32::ToUtf8(buffer);
}

// Reads the short-date facts from a Windows picture such as "d.M.yyyy".
void ReadDatePicture(const std::string& picture, LocaleFacts& facts) {
  std::string order;
  std::string separator;
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      const auto end = picture.find('\'', i + 1);
      if (order.size() == 1) separator += picture.substr(i + 1, end - i - 1);
      i = end == std::string::npos ? picture.size() : end + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const char kind = c == 'd' ? 'd' : c == 'M' ? 'm' : c == 'y' ? 'y' : 0;
    if (kind == 'd' && run <= 2) facts.day_leading_zero = run == 2;
    if (kind == 'm' && run <= 2) facts.month_leading_zero = run == 2;
    if (kind == 'y') facts.four_digit_year = run >= 3;
    if (kind && !(kind == 'd' && run > 2)) {
      if (order.find(kind) == std::string::npos) order += kind;
    } else if (order.size() == 1) {
      separator.append(run, c);
    }
    i += run;
  }
  if (order.rfind("dm", 0) == 0) facts.date_order = DateOrder::DayMonthYear;
  else if (order.rfind("y", 0) == 0) facts.date_order = DateOrder::YearMonthDay;
  else facts.date_order = DateOrder::MonthDayYear;
  if (!separator.empty()) facts.date_separator = separator;
}

void ReadTimePicture(const std::string& picture, LocaleFacts& facts) {
  const auto hour = picture.find_first_of("hH");
  if (hour == std::string::npos) return;
  facts.clock_24h = picture[hour] == 'H';
  facts.hour_leading_zero = hour + 1 < picture.size() && picture[hour + 1] == picture[hour];
  auto after = picture.find_first_not_of(picture[hour], hour);
  const auto minute = picture.find('m', hour);
  if (after != std::string::npos && minute != std::string::npos && minute > after)
    facts.time_separator = picture.substr(after, minute - after);
}

}  // namespace

LocaleFacts CurrentLocaleFacts() {
  LocaleFacts facts;
  ReadDatePicture(Info(LOCALE_SSHORTDATE), facts);
  ReadTimePicture(Info(LOCALE_STIMEFORMAT), facts);
  for (int i = 0; i < 12; ++i) {
    const auto index = static_cast<std::size_t>(i);
    if (auto name = Info(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i)); !name.empty())
      facts.month_names[index] = name;
    if (auto name = Info(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i)); !name.empty())
      facts.month_abbreviations[index] = name;
  }
  // Windows counts the days from Monday; ours start on Sunday.
  for (int i = 0; i < 7; ++i) {
    const auto index = static_cast<std::size_t>((i + 1) % 7);
    if (auto name = Info(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i)); !name.empty())
      facts.day_names[index] = name;
    if (auto name = Info(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + i)); !name.empty())
      facts.day_abbreviations[index] = name;
  }
  if (auto am = Info(LOCALE_S1159); !am.empty()) facts.am = am;
  if (auto pm = Info(LOCALE_S2359); !pm.empty()) facts.pm = pm;
  return facts;
}

}  // namespace qs

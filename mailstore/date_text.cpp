#include "mailstore/date_text.h"
#include "platform/text.h"

#include <cctype>
#include <vector>

namespace qs {

// The kinds of a date pattern's tokens.
enum class DateTokenKind { Literal, Day, Month, Year, Hour, Minute, Second, Weekday, Week, Quarter,
                  AmPm, DateSeparator, TimeSeparator };

struct DatePattern::Token {
  explicit Token(DateTokenKind what, int letters = 0, bool capitals = true)
      : kind(what), width(letters), upper(capitals) {}
  DateTokenKind kind;
  int width = 0;        // letters of the token, or 1 for "A/P" against 2 for "AM/PM"
  bool upper = true;    // AM/PM written in capitals
  std::string text;     // for literals
};

namespace {

using Token = DatePattern::Token;

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (AsciiLower(text[at + i]) != word[i]) return false;
  return true;
}

int WidestToken(char letter, std::size_t run) {
  auto widest = [run](std::initializer_list<int> widths) {
    for (int width : widths)
      if (static_cast<std::size_t>(width) <= run) return width;
    return 1;
  };
  switch (letter) {
    case 'd': case 'm': return widest({4, 3, 2, 1});
    case 'y': return widest({4, 2, 1});
    case 'q': return 1;
    default: return widest({2, 1});
  }
}

std::vector<Token> Tokenize(std::string_view pattern) {
  std::vector<Token> tokens;
  auto literal = [&tokens](std::string_view text) {
    if (tokens.empty() || tokens.back().kind != DateTokenKind::Literal) tokens.emplace_back(DateTokenKind::Literal);
    tokens.back().text += text;
  };
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\\' && i + 1 < pattern.size()) {
      const auto length = CodePointBytes(pattern.substr(i + 1));
      literal(pattern.substr(i + 1, length));
      i += 1 + length;
    } else if (c == '"') {
      const auto end = pattern.find('"', i + 1);
      literal(pattern.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
      i = end == std::string_view::npos ? pattern.size() : end + 1;
    } else if (StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p")) {
      const int width = StartsWithNoCase(pattern, i, "am/pm") ? 2 : 1;
      tokens.emplace_back(DateTokenKind::AmPm, width, c == 'A');
      i += width == 2 ? 5 : 3;
    } else if (c == '/') {
      tokens.emplace_back(DateTokenKind::DateSeparator);
      ++i;
    } else if (c == ':') {
      tokens.emplace_back(DateTokenKind::TimeSeparator);
      ++i;
    } else if (std::string_view("dmyhnswq").find(AsciiLower(c)) != std::string_view::npos) {
      const char letter = AsciiLower(c);
      std::size_t run = 1;
      while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == letter) ++run;
      const int width = WidestToken(letter, run);
      DateTokenKind kind = DateTokenKind::Day;
      switch (letter) {
        case 'd': kind = DateTokenKind::Day; break;
        case 'm': kind = DateTokenKind::Month; break;
        case 'y': kind = DateTokenKind::Year; break;
        case 'h': kind = DateTokenKind::Hour; break;
        case 'n': kind = DateTokenKind::Minute; break;
        case 's': kind = DateTokenKind::Second; break;
        case 'w': kind = width == 1 ? DateTokenKind::Weekday : DateTokenKind::Week; break;
        default: kind = DateTokenKind::Quarter; break;
      }
      tokens.emplace_back(kind, width);
      i += static_cast<std::size_t>(width);
    } else {
      const auto length = CodePointBytes(pattern.substr(i));
      literal(pattern.substr(i, length));
      i += length;
    }
  }
  // "m" after an hour token is the minute, whatever lies between them.
  DateTokenKind previous = DateTokenKind::Literal;
  for (Token& token : tokens) {
    if (token.kind == DateTokenKind::Literal || token.kind == DateTokenKind::DateSeparator ||
        token.kind == DateTokenKind::TimeSeparator)
      continue;
    if (token.kind == DateTokenKind::Month && token.width <= 2 && previous == DateTokenKind::Hour)
      token.kind = DateTokenKind::Minute;
    previous = token.kind;
  }
  return tokens;
}

std::string Number(int value, bool two_digits) {
  std::string text = std::to_string(value);
  if (two_digits && text.size() < 2) text.insert(0, 1, '0');
  return text;
}

int WeekOfYear(const CivilTime& civil) {
  const int first_weekday = ((static_cast<int>(civil.weekday) - (civil.day_of_year - 1)) % 7 + 7) % 7;
  return (civil.day_of_year - 1 + first_weekday) / 7 + 1;
}

std::string GeneralForm(DateTime time, const LocaleFacts& locale) {
  const CivilTime civil = ToCivil(time);
  const std::string day = Number(static_cast<int>(civil.day), locale.day_leading_zero);
  const std::string month = Number(static_cast<int>(civil.month), locale.month_leading_zero);
  const std::string year = locale.four_digit_year ? Number(civil.year, false)
                                                  : Number(civil.year % 100, true);
  const std::string& sep = locale.date_separator;
  std::string text;
  switch (locale.date_order) {
    case DateOrder::MonthDayYear: text = month + sep + day + sep + year; break;
    case DateOrder::DayMonthYear: text = day + sep + month + sep + year; break;
    case DateOrder::YearMonthDay: text = year + sep + month + sep + day; break;
  }
  if (civil.hour == 0 && civil.minute == 0 && civil.second == 0) return text;
  int hour = civil.hour;
  if (!locale.clock_24h) hour = hour % 12 == 0 ? 12 : hour % 12;
  text += ' ' + Number(hour, locale.hour_leading_zero) + locale.time_separator +
          Number(civil.minute, true) + locale.time_separator + Number(civil.second, true);
  if (!locale.clock_24h) text += ' ' + (civil.hour < 12 ? locale.am : locale.pm);
  return text;
}

}  // namespace

DatePattern::DatePattern(std::string_view pattern)
    : tokens_(Tokenize(pattern)), general_(pattern.empty()) {
  for (const Token& token : tokens_) twelve_hours_ = twelve_hours_ || token.kind == DateTokenKind::AmPm;
}

DatePattern::~DatePattern() = default;
DatePattern::DatePattern(const DatePattern&) = default;
DatePattern& DatePattern::operator=(const DatePattern&) = default;

std::string FormatDate(DateTime time, std::string_view pattern, const LocaleFacts& locale) {
  return DatePattern(pattern).Format(time, locale);
}

std::string DatePattern::Format(DateTime time, const LocaleFacts& locale) const {
  if (general_) return GeneralForm(time, locale);
  const CivilTime civil = ToCivil(time);
  const bool twelve_hours = twelve_hours_;
  std::string text;
  for (const Token& token : tokens_) {
    const bool two = token.width == 2;
    switch (token.kind) {
      case DateTokenKind::Literal: text += token.text; break;
      case DateTokenKind::Day:
        if (token.width <= 2) text += Number(static_cast<int>(civil.day), two);
        else if (token.width == 3) text += locale.day_abbreviations[civil.weekday];
        else text += locale.day_names[civil.weekday];
        break;
      case DateTokenKind::Month:
        if (token.width <= 2) text += Number(static_cast<int>(civil.month), two);
        else if (token.width == 3) text += locale.month_abbreviations[civil.month - 1];
        else text += locale.month_names[civil.month - 1];
        break;
      case DateTokenKind::Year:
        if (token.width == 1) text += Number(civil.day_of_year, false);
        else if (token.width == 2) text += Number(civil.year % 100, true);
        else text += Number(civil.year, false);
        break;
      case DateTokenKind::Hour: {
        int hour = civil.hour;
        if (twelve_hours) hour = hour % 12 == 0 ? 12 : hour % 12;
        text += Number(hour, two);
        break;
      }
      case DateTokenKind::Minute: text += Number(civil.minute, two); break;
      case DateTokenKind::Second: text += Number(civil.second, two); break;
      case DateTokenKind::Weekday: text += Number(static_cast<int>(civil.weekday) + 1, false); break;
      case DateTokenKind::Week: text += Number(WeekOfYear(civil), false); break;
      case DateTokenKind::Quarter: text += Number(static_cast<int>(civil.month - 1) / 3 + 1, false); break;
      case DateTokenKind::AmPm: {
        std::string mark = token.width == 2 ? (civil.hour < 12 ? "AM" : "PM")
                                            : (civil.hour < 12 ? "A" : "P");
        if (!token.upper)
          for (char& c : mark) c = AsciiLower(c);
        text += mark;
        break;
      }
      case DateTokenKind::DateSeparator: text += locale.date_separator; break;
      case DateTokenKind::TimeSeparator: text += locale.time_separator; break;
    }
  }
  return text;
}

}  // namespace qs

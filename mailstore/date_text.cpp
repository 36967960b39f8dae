#include "mailstore/date_text.h"
#include "platform/text.h"

#include <cctype>
#include <vector>

namespace qs {

namespace {

enum class Kind { Literal, Day, Month, Year, Hour, Minute, Second, Weekday, Week, Quarter,
                  AmPm, DateSeparator, TimeSeparator };

struct Token {
  explicit Token(Kind what, int letters = 0, bool capitals = true)
      : kind(what), width(letters), upper(capitals) {}
  Kind kind;
  int width = 0;        // letters of the token, or 1 for "A/P" against 2 for "AM/PM"
  bool upper = true;    // AM/PM written in capitals
  std::string text;     // for literals
};

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
    if (tokens.empty() || tokens.back().kind != Kind::Literal) tokens.emplace_back(Kind::Literal);
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
      tokens.emplace_back(Kind::AmPm, width, c == 'A');
      i += width == 2 ? 5 : 3;
    } else if (c == '/') {
      tokens.emplace_back(Kind::DateSeparator);
      ++i;
    } else if (c == ':') {
      tokens.emplace_back(Kind::TimeSeparator);
      ++i;
    } else if (std::string_view("dmyhnswq").find(AsciiLower(c)) != std::string_view::npos) {
      const char letter = AsciiLower(c);
      std::size_t run = 1;
      while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == letter) ++run;
      const int width = WidestToken(letter, run);
      Kind kind = Kind::Day;
      switch (letter) {
        case 'd': kind = Kind::Day; break;
        case 'm': kind = Kind::Month; break;
        case 'y': kind = Kind::Year; break;
        case 'h': kind = Kind::Hour; break;
        case 'n': kind = Kind::Minute; break;
        case 's': kind = Kind::Second; break;
        case 'w': kind = width == 1 ? Kind::Weekday : Kind::Week; break;
        default: kind = Kind::Quarter; break;
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
  Kind previous = Kind::Literal;
  for (Token& token : tokens) {
    if (token.kind == Kind::Literal || token.kind == Kind::DateSeparator ||
        token.kind == Kind::TimeSeparator)
      continue;
    if (token.kind == Kind::Month && token.width <= 2 && previous == Kind::Hour)
      token.kind = Kind::Minute;
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

std::string FormatDate(DateTime time, std::string_view pattern, const LocaleFacts& locale) {
  if (pattern.empty()) return GeneralForm(time, locale);
  const CivilTime civil = ToCivil(time);
  const std::vector<Token> tokens = Tokenize(pattern);
  bool twelve_hours = false;
  for (const Token& token : tokens) twelve_hours = twelve_hours || token.kind == Kind::AmPm;
  std::string text;
  for (const Token& token : tokens) {
    const bool two = token.width == 2;
    switch (token.kind) {
      case Kind::Literal: text += token.text; break;
      case Kind::Day:
        if (token.width <= 2) text += Number(static_cast<int>(civil.day), two);
        else if (token.width == 3) text += locale.day_abbreviations[civil.weekday];
        else text += locale.day_names[civil.weekday];
        break;
      case Kind::Month:
        if (token.width <= 2) text += Number(static_cast<int>(civil.month), two);
        else if (token.width == 3) text += locale.month_abbreviations[civil.month - 1];
        else text += locale.month_names[civil.month - 1];
        break;
      case Kind::Year:
        if (token.width == 1) text += Number(civil.day_of_year, false);
        else if (token.width == 2) text += Number(civil.year % 100, true);
        else text += Number(civil.year, false);
        break;
      case Kind::Hour: {
        int hour = civil.hour;
        if (twelve_hours) hour = hour % 12 == 0 ? 12 : hour % 12;
        text += Number(hour, two);
        break;
      }
      case Kind::Minute: text += Number(civil.minute, two); break;
      case Kind::Second: text += Number(civil.second, two); break;
      case Kind::Weekday: text += Number(static_cast<int>(civil.weekday) + 1, false); break;
      case Kind::Week: text += Number(WeekOfYear(civil), false); break;
      case Kind::Quarter: text += Number(static_cast<int>(civil.month - 1) / 3 + 1, false); break;
      case Kind::AmPm: {
        std::string mark = token.width == 2 ? (civil.hour < 12 ? "AM" : "PM")
                                            : (civil.hour < 12 ? "A" : "P");
        if (!token.upper)
          for (char& c : mark) c = AsciiLower(c);
        text += mark;
        break;
      }
      case Kind::DateSeparator: text += locale.date_separator; break;
      case Kind::TimeSeparator: text += locale.time_separator; break;
    }
  }
  return text;
}

}  // namespace qs

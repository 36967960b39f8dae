#include "mailstore/date_parse.h"
#include "platform/text.h"

#include <cctype>
#include <string>
#include <vector>

namespace qs {

namespace {

struct Part {
  std::string text;
  bool number = false;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '/' || c == '-' || c == '.' || c == ',';
}

bool SameWord(std::string_view a, std::string_view b) {
  return !a.empty() && EqualsIgnoringAsciiCase(a, b);
}

// The month 1 to 12 that a word names, or 0.
unsigned MonthOfWord(std::string_view word, const LocaleFacts& locale) {
  static const LocaleFacts english;
  for (const LocaleFacts* facts : {&locale, &english})
    for (unsigned i = 0; i < 12; ++i)
      if (SameWord(word, facts->month_names[i]) || SameWord(word, facts->month_abbreviations[i]))
        return i + 1;
  return 0;
}

bool IsWeekday(std::string_view word, const LocaleFacts& locale) {
  static const LocaleFacts english;
  for (const LocaleFacts* facts : {&locale, &english})
    for (unsigned i = 0; i < 7; ++i)
      if (SameWord(word, facts->day_names[i]) || SameWord(word, facts->day_abbreviations[i]))
        return true;
  return false;
}

bool IsAmPm(std::string_view word, const LocaleFacts& locale) {
  for (std::string_view mark : {std::string_view("am"), std::string_view("pm"),
                                std::string_view("a"), std::string_view("p")})
    if (SameWord(word, mark)) return true;
  return SameWord(word, locale.am) || SameWord(word, locale.pm);
}

// A time of day such as "17:00", "5:03:09 PM" or "07.03.09".
bool IsTimeOfDay(std::string_view text, const LocaleFacts& locale) {
  text = TrimBlanks(text);
  std::vector<int> fields;
  std::size_t i = 0;
  while (i < text.size() && fields.size() < 3) {
    std::size_t digits = 0;
    while (i + digits < text.size() && IsDigit(text[i + digits])) ++digits;
    if (digits == 0 || digits > 2) return false;
    fields.push_back(std::stoi(std::string(text.substr(i, digits))));
    i += digits;
    if (i < text.size() && (text[i] == ':' || text[i] == '.')) {
      ++i;
    } else if (text.compare(i, locale.time_separator.size(), locale.time_separator) == 0 &&
               !locale.time_separator.empty()) {
      i += locale.time_separator.size();
    } else {
      break;
    }
  }
  if (fields.size() < 2) return false;
  const std::string_view mark = TrimBlanks(text.substr(i));
  const bool twelve = !mark.empty();
  if (twelve && !IsAmPm(mark, locale)) return false;
  if (fields[0] > (twelve ? 12 : 23) || fields[1] > 59) return false;
  return fields.size() < 3 || fields[2] <= 59;
}

// Where a time of day may start: at a number followed by a time separator,
// from position from on.
std::size_t TimeStart(std::string_view text, const LocaleFacts& locale, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (!IsDigit(text[i]) || (i > 0 && IsDigit(text[i - 1]))) continue;
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end < text.size() &&
        (text[end] == ':' || (!locale.time_separator.empty() &&
                              text.compare(end, locale.time_separator.size(),
                                           locale.time_separator) == 0)))
      return i;
  }
  return std::string_view::npos;
}

std::vector<Part> SplitParts(std::string_view text) {
  std::vector<Part> parts;
  for (std::size_t i = 0; i < text.size();) {
    if (IsSeparator(text[i])) {
      ++i;
      continue;
    }
    const bool number = IsDigit(text[i]);
    std::size_t end = i;
    while (end < text.size() && !IsSeparator(text[end]) && IsDigit(text[end]) == number) ++end;
    parts.push_back({std::string(text.substr(i, end - i)), number});
    i = end;
  }
  return parts;
}

std::optional<int> YearOf(const Part& part) {
  if (!part.number || part.text.size() > 4) return std::nullopt;
  const int value = std::stoi(part.text);
  if (part.text.size() <= 2) return value < 30 ? 2000 + value : 1900 + value;
  if (value < 100) return std::nullopt;
  return value;
}

std::optional<unsigned> SmallNumber(const Part& part) {
  if (!part.number || part.text.size() > 2) return std::nullopt;
  return static_cast<unsigned>(std::stoi(part.text));
}

std::optional<DateTime> Make(std::optional<int> year, std::optional<unsigned> month,
                             std::optional<unsigned> day) {
  if (!year || !month || !day) return std::nullopt;
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{*year}, std::chrono::month{*month},
                            std::chrono::day{*day}};
  if (!date.ok()) return std::nullopt;
  return DateTime{local_days{date}};
}

}  // namespace

// A date without a time of day.
std::optional<DateTime> ParseDay(std::string_view date_text, const LocaleFacts& locale) {
  std::vector<Part> parts = SplitParts(date_text);
  if (parts.size() == 4 && !parts.front().number && IsWeekday(parts.front().text, locale))
    parts.erase(parts.begin());
  if (parts.size() != 3) return std::nullopt;
  const Part& a = parts[0];
  const Part& b = parts[1];
  const Part& c = parts[2];

  std::vector<const Part*> numbers;
  unsigned named_month = 0;
  for (const Part& part : parts) {
    if (part.number) {
      numbers.push_back(&part);
    } else {
      if (named_month) return std::nullopt;
      named_month = MonthOfWord(part.text, locale);
      if (!named_month) return std::nullopt;
    }
  }
  if (named_month) {
    if (numbers.size() != 2) return std::nullopt;
    const Part& first = *numbers[0];
    const Part& second = *numbers[1];
    if (first.text.size() >= 3) return Make(YearOf(first), named_month, SmallNumber(second));
    return Make(YearOf(second), named_month, SmallNumber(first));
  }
  if (a.text.size() >= 3) return Make(YearOf(a), SmallNumber(b), SmallNumber(c));
  switch (locale.date_order) {
    case DateOrder::MonthDayYear: return Make(YearOf(c), SmallNumber(a), SmallNumber(b));
    case DateOrder::DayMonthYear: return Make(YearOf(c), SmallNumber(b), SmallNumber(a));
    case DateOrder::YearMonthDay: return Make(YearOf(a), SmallNumber(b), SmallNumber(c));
  }
  return std::nullopt;
}

std::optional<DateTime> ParseDate(std::string_view text, const LocaleFacts& locale) {
  text = TrimBlanks(text);
  // Where the time separator is also a date separator ("." in Finnish),
  // "30.6.2009" is a date, not a time.
  if (const auto day = ParseDay(text, locale)) return day;
  for (std::size_t time = TimeStart(text, locale, 0); time != std::string_view::npos;
       time = TimeStart(text, locale, time + 1)) {
    if (!IsTimeOfDay(text.substr(time), locale)) continue;
    std::string_view date_text = TrimBlanks(text.substr(0, time));
    // "2009-06-30T17:00"
    if (!date_text.empty() && (date_text.back() == 'T' || date_text.back() == 't'))
      date_text.remove_suffix(1);
    return ParseDay(date_text, locale);
  }
  return std::nullopt;
}

}  // namespace qs

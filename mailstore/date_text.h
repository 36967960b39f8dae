#pragma once
// The program's one way of writing a date-time as text, by a date pattern
// such as "yymmdd HHMMSS" (letter case in the tokens does not matter).

#include <string>
#include <string_view>
#include <vector>

#include "mailstore/date_time.h"
#include "platform/locale.h"

namespace qs {

// An empty pattern gives the locale's general form: the short date, then the
// time unless it is midnight.
std::string FormatDate(DateTime time, std::string_view pattern, const LocaleFacts& locale);

// A date pattern read once, to write many date-times by it as FormatDate does.
class DatePattern {
 public:
  explicit DatePattern(std::string_view pattern);
  ~DatePattern();
  DatePattern(const DatePattern&);
  DatePattern& operator=(const DatePattern&);
  std::string Format(DateTime time, const LocaleFacts& locale) const;

  struct Token;  // defined with the reading of patterns

 private:
  std::vector<Token> tokens_;
  bool general_ = false;
  bool twelve_hours_ = false;
};

}  // namespace qs

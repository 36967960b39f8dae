#pragma once
// The program's one way of writing a date-time as text, by a date pattern
// such as "yymmdd HHMMSS" (letter case in the tokens does not matter).

#include <string>
#include <string_view>

#include "mailstore/date_time.h"
#include "platform/locale.h"

namespace qs {

// An empty pattern gives the locale's general form: the short date, then the
// time unless it is midnight.
std::string FormatDate(DateTime time, std::string_view pattern, const LocaleFacts& locale);

}  // namespace qs

#pragma once
// Reading a date typed by the user, by the locale's conventions.

#include <optional>
#include <string_view>

#include "mailstore/date_time.h"
#include "platform/locale.h"

namespace qs {

// Reads numbers in the locale's short-date order separated by "/", "-", "."
// or blanks; a four-digit year first means year-month-day; or a day, a month
// name (full or abbreviated) and a year in any of the usual orders. A
// weekday name before the date and a time of day after it are passed over.
// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. The result is
// midnight of that day, or nothing when the text is not a date.
std::optional<DateTime> ParseDate(std::string_view text, const LocaleFacts& locale);

}  // namespace qs

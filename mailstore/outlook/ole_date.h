#pragma once
// Automation dates (VT_DATE) and the program's date-times, to the second, by
// plain arithmetic. An automation date counts days from 30 December 1899;
// its fraction is the time of day, also for days before then (-1.25 is
// 29 December 1899, 06:00).

#include "mailstore/date_time.h"

namespace qs {

double ToOleDate(DateTime time);
// Rounds to the nearest second. Throws MailStoreError for a value outside
// the automation range (years 100 to 9999) or not a number.
DateTime FromOleDate(double days);

}  // namespace qs

#include "mailstore/outlook/ole_date.h"

#include <cmath>
#include <string>

#include "mailstore/mail_store.h"

namespace qs {

namespace {

using namespace std::chrono;

constexpr local_days kEpoch{year{1899} / December / 30};
constexpr double kSecondsPerDay = 86400.0;
// 1 January 100 and 31 December 9999, the ends of the automation range.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958466.0;

}  // namespace

double ToOleDate(DateTime time) {
  const local_days day = floor<days>(time);
  const double whole = static_cast<double>((day - kEpoch).count());
  const double fraction = static_cast<double>((time - day).count()) / kSecondsPerDay;
  return whole < 0 ? whole - fraction : whole + fraction;
}

DateTime FromOleDate(double value) {
  if (!(value >= kFirstDay && value < kLastDay))
    throw MailStoreError("date out of range: " + std::to_string(value));
  const double whole = std::trunc(value);
  auto second_of_day =
      static_cast<long long>(std::llround(std::fabs(value - whole) * kSecondsPerDay));
  auto day = kEpoch + days{static_cast<long long>(whole)};
  if (second_of_day >= 86400) {
    // Rounded up to the next midnight, which for days before the epoch is
    // the day after as well: time runs forward within every day.
    second_of_day -= 86400;
    day += days{1};
  }
  return DateTime{day} + seconds{second_of_day};
}

}  // namespace qs

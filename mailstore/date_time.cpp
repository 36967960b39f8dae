#include "mailstore/date_time.h"

#include <stdexcept>
#include <string>

namespace qs {

using namespace std::chrono;

DateTime MakeDateTime(int y, unsigned m, unsigned d, int h, int mi, int s) {
  const year_month_day date{year{y}, month{m}, day{d}};
  if (!date.ok())
    throw std::invalid_argument("no such day: " + std::to_string(y) + "-" + std::to_string(m) +
                                "-" + std::to_string(d));
  return local_days{date} + hours{h} + minutes{mi} + seconds{s};
}

CivilTime ToCivil(DateTime time) {
  const auto midnight = floor<days>(time);
  const year_month_day date{midnight};
  const hh_mm_ss clock{time - midnight};
  CivilTime civil;
  civil.year = static_cast<int>(date.year());
  civil.month = static_cast<unsigned>(date.month());
  civil.day = static_cast<unsigned>(date.day());
  civil.hour = static_cast<int>(clock.hours().count());
  civil.minute = static_cast<int>(clock.minutes().count());
  civil.second = static_cast<int>(clock.seconds().count());
  civil.weekday = weekday{midnight}.c_encoding();
  civil.day_of_year =
      static_cast<int>((midnight - local_days{date.year() / January / 1}).count()) + 1;
  return civil;
}

DateTime DateOnly(DateTime time) { return floor<days>(time); }

}  // namespace qs

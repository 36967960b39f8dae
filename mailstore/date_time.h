#pragma once
// Date-times as the mail store gives them: local civil times to the second.

#include <chrono>

namespace qs {

using DateTime = std::chrono::local_seconds;

struct CivilTime {
  int year = 1900;
  unsigned month = 1;   // 1 to 12
  unsigned day = 1;     // 1 to 31
  int hour = 0;         // 0 to 23
  int minute = 0;
  int second = 0;
  unsigned weekday = 0;  // Sunday = 0
  int day_of_year = 1;   // 1 to 366
};

// Throws std::invalid_argument for a day that the calendar does not have.
DateTime MakeDateTime(int year, unsigned month, unsigned day, int hour = 0, int minute = 0,
                      int second = 0);
CivilTime ToCivil(DateTime time);
// Midnight of the same day.
DateTime DateOnly(DateTime time);

// What Outlook gives for a date that is not set: 1 January 4501.
inline DateTime NoDate() {
  using namespace std::chrono;
  return local_days{year{4501} / January / 1};
}

}  // namespace qs

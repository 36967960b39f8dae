#include "mailstore/outlook/ole_date.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <cmath>

#include "mailstore/mail_store.h"

namespace qs {
namespace {

using namespace std::chrono;

// The system's own conversion, as an independent witness of ours.
double SystemOleDate(DateTime time) {
  const CivilTime civil = ToCivil(time);
  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(civil.year);
  system.wMonth = static_cast<WORD>(civil.month);
  system.wDay = static_cast<WORD>(civil.day);
  system.wHour = static_cast<WORD>(civil.hour);
  system.wMinute = static_cast<WORD>(civil.minute);
  system.wSecond = static_cast<WORD>(civil.second);
  double date = 0;
  EXPECT_TRUE(SystemTimeToVariantTime(&system, &date));
  return date;
}

TEST(OleDateTest, KnownPointsOfTheAutomationCalendar) {
  EXPECT_EQ(ToOleDate(MakeDateTime(1899, 12, 30)), 0.0);
  EXPECT_EQ(ToOleDate(MakeDateTime(1900, 1, 1)), 2.0);
  EXPECT_EQ(ToOleDate(MakeDateTime(1900, 3, 1)), 61.0);  // 1900 had no 29 February
  EXPECT_EQ(ToOleDate(MakeDateTime(1899, 12, 29, 6)), -1.25);
  EXPECT_EQ(ToOleDate(MakeDateTime(2009, 12, 5, 18)), 40152.75);
  EXPECT_EQ(ToOleDate(NoDate()), 949998.0);
}

TEST(OleDateTest, AgreesWithTheSystemFrom1900To4501) {
  // A prime step in seconds visits every time of day and every month.
  for (DateTime time = MakeDateTime(1900, 1, 1); time <= NoDate();
       time += seconds{86400 * 97 + 3607}) {
    const double ours = ToOleDate(time);
    EXPECT_NEAR(ours, SystemOleDate(time), 1e-9) << ours;
    EXPECT_EQ(FromOleDate(ours), time) << ours;
  }
}

TEST(OleDateTest, RoundTripsAtTheEdges) {
  for (const DateTime time :
       {MakeDateTime(1900, 1, 1), MakeDateTime(1900, 1, 1, 0, 0, 1),
        MakeDateTime(1900, 12, 31, 23, 59, 59), MakeDateTime(2000, 2, 29, 12, 30, 45),
        MakeDateTime(2099, 12, 31), MakeDateTime(4500, 12, 31, 23, 59, 59), NoDate(),
        NoDate() + seconds{1}, MakeDateTime(1899, 12, 29, 6), MakeDateTime(1800, 6, 1, 23, 59, 59)})
    EXPECT_EQ(FromOleDate(ToOleDate(time)), time) << ToOleDate(time);
}

TEST(OleDateTest, ReadsSystemDatesToTheNearestSecond) {
  // Outlook's dates carry noise below the second; it must not cost a second.
  const double noon = 40152.5;
  EXPECT_EQ(FromOleDate(noon + 0.4 / 86400), MakeDateTime(2009, 12, 5, 12));
  EXPECT_EQ(FromOleDate(noon - 0.4 / 86400), MakeDateTime(2009, 12, 5, 12));
  EXPECT_EQ(FromOleDate(noon + 0.6 / 86400), MakeDateTime(2009, 12, 5, 12, 0, 1));
  // Just before midnight rounds into the next day, on either side of 1899.
  EXPECT_EQ(FromOleDate(40152.0 + 86399.7 / 86400), MakeDateTime(2009, 12, 6));
  EXPECT_EQ(FromOleDate(-2.0 - 86399.7 / 86400), MakeDateTime(1899, 12, 29));
  EXPECT_EQ(FromOleDate(-0.5), MakeDateTime(1899, 12, 30, 12));
}

TEST(OleDateTest, RefusesWhatIsNoDate) {
  EXPECT_THROW(FromOleDate(std::nan("")), MailStoreError);
  EXPECT_THROW(FromOleDate(3e6), MailStoreError);
  EXPECT_THROW(FromOleDate(-7e5), MailStoreError);
  EXPECT_THROW(FromOleDate(HUGE_VAL), MailStoreError);
}

}  // namespace
}  // namespace qs

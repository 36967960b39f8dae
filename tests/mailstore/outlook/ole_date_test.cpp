#include "mailstore/outlook/ole_date.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <cmath>

#include "mailstore/mail_store.h"

namespace qs {
namespace {

// The system's conversion is the witness, from 1800 across the days before
// 1899-12-30 (whose fraction counts forward) to past Outlook's "no date" in
// 4501; a prime step in seconds visits every time of day and every month.
TEST(OleDateTest, AgreesWithTheSystemRoundsToTheSecondAndRefusesNonsense) {
  const DateTime end = NoDate() + std::chrono::days{1};
  for (DateTime time = MakeDateTime(1800, 6, 1, 23, 59, 59); time <= end;
       time += std::chrono::seconds{86400 * 97 + 3607}) {
    const CivilTime c = ToCivil(time);
    SYSTEMTIME system{static_cast<WORD>(c.year),   static_cast<WORD>(c.month),
                      0,                           static_cast<WORD>(c.day),
                      static_cast<WORD>(c.hour),   static_cast<WORD>(c.minute),
                      static_cast<WORD>(c.second), 0};
    double expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&system, &expected));
    EXPECT_NEAR(ToOleDate(time), expected, 1e-9) << expected;
    EXPECT_EQ(FromOleDate(ToOleDate(time)), time) << expected;
  }
  // Outlook's dates carry noise below the second; it must not cost a second,
  // and just before midnight rounds into the next day on either side of 1899.
  EXPECT_EQ(FromOleDate(40152.5 - 0.4 / 86400), MakeDateTime(2009, 12, 5, 12));
  EXPECT_EQ(FromOleDate(40152.5 + 0.6 / 86400), MakeDateTime(2009, 12, 5, 12, 0, 1));
  EXPECT_EQ(FromOleDate(40152.0 + 86399.7 / 86400), MakeDateTime(2009, 12, 6));
  EXPECT_EQ(FromOleDate(-2.0 - 86399.7 / 86400), MakeDateTime(1899, 12, 29));
  for (const double nonsense : {std::nan(""), 3e6, -7e5, HUGE_VAL})
    EXPECT_THROW(FromOleDate(nonsense), MailStoreError) << nonsense;
}

}  // namespace
}  // namespace qs

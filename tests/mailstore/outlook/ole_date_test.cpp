#include "mailstore/outlook/ole_date.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <cmath>

#include "mailstore/mail_store.h"

namespace qs {
namespace {

using namespace std::chrono;

// The system's own conversion is the witness: from 1800, across the odd
// days before 1899-12-30 (whose fraction counts forward), to Outlook's "no
// date" in 4501. A prime step in seconds visits every time of day and month.
TEST(OleDateTest, AgreesWithTheSystemAndRoundTrips) {
  for (DateTime time = MakeDateTime(1800, 6, 1, 23, 59, 59); time <= NoDate() + days{1};
       time += seconds{86400 * 97 + 3607}) {
    const CivilTime civil = ToCivil(time);
    SYSTEMTIME system{static_cast<WORD>(civil.year), static_cast<WORD>(civil.month), 0,
                      static_cast<WORD>(civil.day), static_cast<WORD>(civil.hour),
                      static_cast<WORD>(civil.minute), static_cast<WORD>(civil.second), 0};
    double expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&system, &expected));
    EXPECT_NEAR(ToOleDate(time), expected, 1e-9) << expected;
    EXPECT_EQ(FromOleDate(ToOleDate(time)), time) << expected;
  }
  EXPECT_EQ(ToOleDate(NoDate()), 949998.0);
}

TEST(OleDateTest, ReadsToTheNearestSecondAndRefusesWhatIsNoDate) {
  // Outlook's dates carry noise below the second; it must not cost a second.
  const struct {
    double ole;
    DateTime expected;
  } cases[] = {
      {40152.5 + 0.4 / 86400, MakeDateTime(2009, 12, 5, 12)},
      {40152.5 - 0.4 / 86400, MakeDateTime(2009, 12, 5, 12)},
      {40152.5 + 0.6 / 86400, MakeDateTime(2009, 12, 5, 12, 0, 1)},
      // Just before midnight rounds into the next day, on either side of 1899.
      {40152.0 + 86399.7 / 86400, MakeDateTime(2009, 12, 6)},
      {-2.0 - 86399.7 / 86400, MakeDateTime(1899, 12, 29)},
      {-0.5, MakeDateTime(1899, 12, 30, 12)},
  };
  for (const auto& c : cases) EXPECT_EQ(FromOleDate(c.ole), c.expected) << c.ole;
  for (const double nonsense : {std::nan(""), 3e6, -7e5, HUGE_VAL})
    EXPECT_THROW(FromOleDate(nonsense), MailStoreError) << nonsense;
}

}  // namespace
}  // namespace qs

#include "settings/check_state_text.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(CheckStateFromLeadingNumber, TakesTheNumberTheTextBeginsWith) {
  EXPECT_EQ(CheckStateFromLeadingNumber("1"), 1);
  EXPECT_EQ(CheckStateFromLeadingNumber("1abc"), 1);
  EXPECT_EQ(CheckStateFromLeadingNumber("  2 apples"), 2);
  EXPECT_EQ(CheckStateFromLeadingNumber("abc1"), 0);
  EXPECT_EQ(CheckStateFromLeadingNumber(""), 0);
  EXPECT_EQ(CheckStateFromLeadingNumber("0.5"), 0);  // half to even
  EXPECT_EQ(CheckStateFromLeadingNumber("1.5"), 2);
  EXPECT_EQ(CheckStateFromLeadingNumber(".9x"), 1);
}

TEST(CheckStateFromLeadingNumber, NumbersOutsideTheStatesAreRefused) {
  EXPECT_EQ(CheckStateFromLeadingNumber("3"), std::nullopt);
  EXPECT_EQ(CheckStateFromLeadingNumber("-1"), std::nullopt);
  EXPECT_EQ(CheckStateFromLeadingNumber("99999999999999999999"), std::nullopt);
}

TEST(CheckStateFromWholeText, NeedsTheWholeTextToBeANumber) {
  EXPECT_EQ(CheckStateFromWholeText(" 1 "), 1);
  EXPECT_EQ(CheckStateFromWholeText("+0"), 0);
  EXPECT_EQ(CheckStateFromWholeText("2.4"), 2);
  EXPECT_EQ(CheckStateFromWholeText("1abc"), std::nullopt);
  EXPECT_EQ(CheckStateFromWholeText("abc"), std::nullopt);
  EXPECT_EQ(CheckStateFromWholeText("."), std::nullopt);
  EXPECT_EQ(CheckStateFromWholeText("7"), std::nullopt);
}

}  // namespace
}  // namespace qs

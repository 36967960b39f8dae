#include "settings/check_state_text.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

// A check state is 0, 1 or 2; numbers round half to even.
TEST(CheckStateText, LeadingNumberOrWholeText) {
  const struct {
    const char* text;
    std::optional<int> leading, whole;
  } cases[] = {
      {"1", 1, 1},           {"1abc", 1, std::nullopt}, {"  2 apples", 2, std::nullopt},
      {"abc1", 0, std::nullopt}, {"", 0, std::nullopt},   {"0.5", 0, 0},
      {"1.5", 2, 2},         {".9x", 1, std::nullopt},  {" 1 ", 1, 1},
      {"+0", 0, 0},          {"2.4", 2, 2},             {".", 0, std::nullopt},
      {"3", std::nullopt, std::nullopt},  {"-1", std::nullopt, std::nullopt},
      {"99999999999999999999", std::nullopt, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(CheckStateFromLeadingNumber(c.text), c.leading) << c.text;
    EXPECT_EQ(CheckStateFromWholeText(c.text), c.whole) << c.text;
  }
}

}  // namespace
}  // namespace qs

#include "save/placeholder_format.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "save/modListToText.h"

namespace qs {
namespace {

const std::vector<std::string> kRow = {"091205 070309", "sender1", "Re: hello?", "to1",
                                       "091206 080000", "ENTRY",   "\\\\M\\In", "091206 080001"};

TEST(FillPlaceholders, ReplacesEachNumberedTextAndKeepsPunctuation) {
  EXPECT_EQ(FillPlaceholders("%1 %2 %3", kRow), "091205 070309 sender1 Re: hello?");
  EXPECT_EQ(FillPlaceholders("%8|%7|%6|%5|%4", kRow),
            "091206 080001|\\\\M\\In|ENTRY|091206 080000|to1");
  EXPECT_EQ(FillPlaceholders("%1%1", kRow), "091205 070309091205 070309");
  EXPECT_EQ(FillPlaceholders("", kRow), "");
}

TEST(FillPlaceholders, PercentSignsFollowTheOrderOfThePasses) {
  EXPECT_EQ(FillPlaceholders("%%1", kRow), "%091205 070309");
  EXPECT_EQ(FillPlaceholders("%10", kRow), "091205 0703090");
  EXPECT_EQ(FillPlaceholders("100%%", kRow), "100%");
  EXPECT_EQ(FillPlaceholders("%0 %9 % %x", kRow), "%0 %9 % %x");
  EXPECT_EQ(FillPlaceholders("%%%%", kRow), "%%");
}

TEST(FillPlaceholders, InsertedTextsTakePartInLaterPasses) {
  std::vector<std::string> row = kRow;
  row[2] = "see %5 and %2 and 50%%";
  // %5 belongs to a later pass and is filled; %2 to an earlier one and stays.
  EXPECT_EQ(FillPlaceholders("%3", row), "see 091206 080000 and %2 and 50%");
}

TEST(FillPlaceholders, ShortRowsLeaveTheirMissingPlaceholders) {
  EXPECT_EQ(FillPlaceholders("%1-%2-%3", {"only"}), "only-%2-%3");
  EXPECT_EQ(FillPlaceholders("%1", {}), "%1");
}

TEST(FormatListLine, UsesTheListTextsAsShown) {
  test::ListFixture fixture;
  test::Row row;
  row.subject = "a:b?c*\td";
  const auto number = fixture.Add(row);
  EXPECT_EQ(FormatListLine("%1 %2 %3", fixture.list.Texts(number)),
            "091205 070309 sender1 a:b?c*\td");
  EXPECT_EQ(FormatListLine("%%1|%10|%6", fixture.list.Texts(number)),
            "%091205 070309|091205 0703090|id1");
}

TEST(ReplaceAll, TakesNonOverlappingOccurrencesFromTheLeft) {
  EXPECT_EQ(ReplaceAll("%%%", "%%", "%"), "%%");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

}  // namespace
}  // namespace qs

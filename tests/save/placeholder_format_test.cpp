#include "save/placeholder_format.h"

#include <gtest/gtest.h>


namespace qs {
namespace {

const std::vector<std::string> kRow = {"091205 070309", "sender1", "Re: hello?", "to1",
                                       "091206 080000", "ENTRY",   "\\\\M\\In", "091206 080001"};

// %1 to %8 are filled one after another, then "%%" becomes "%": a text put
// in takes part in the later passes.
TEST(FillPlaceholders, FillsTheNumberedTextsInPasses) {
  std::vector<std::string> inserting = kRow;
  inserting[2] = "see %5 and %2 and 50%%";
  const struct {
    const char* format;
    std::vector<std::string> row;
    const char* filled;
  } cases[] = {
      {"%1 %2 %3", kRow, "091205 070309 sender1 Re: hello?"},
      {"%8|%7|%6|%5|%4", kRow, "091206 080001|\\\\M\\In|ENTRY|091206 080000|to1"},
      {"%1%1", kRow, "091205 070309091205 070309"},
      {"", kRow, ""},
      {"%%1", kRow, "%091205 070309"},
      {"%10", kRow, "091205 0703090"},
      {"100%%", kRow, "100%"},
      {"%0 %9 % %x", kRow, "%0 %9 % %x"},
      {"%%%%", kRow, "%%"},
      {"%3", inserting, "see 091206 080000 and %2 and 50%"},
      {"%1-%2-%3", {"only"}, "only-%2-%3"},
      {"%1", {}, "%1"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillPlaceholders(c.format, c.row), c.filled) << c.format;
}

}  // namespace
}  // namespace qs

#include "mailstore/found_items.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qs {
namespace {

FoundItem Item(std::string entry_id, std::string folder) {
  const DateTime time = MakeDateTime(2009, 12, 5, 7, 3, 9);
  return {time, "from", "subject", "to", time + std::chrono::seconds(1), std::move(entry_id),
          std::move(folder), time + std::chrono::seconds(2)};
}

// Rows are kept compactly (entry identifiers as bytes, dates as times, one
// copy of a folder's path) and read back exactly as they were added.
TEST(FoundItems, GiveBackEveryRowAsAddedWithTheDatesOfItsSearch) {
  FoundItems list;
  int changes = 0;
  list.onChange = [&changes] { ++changes; };
  list.Start({"yymmdd HHMMSS", {}});
  const char* const ids[] = {"00A1FF", "00a1ff", "ABC", "", "X1", "0123456789ABCDEF0123"};
  const char* const folders[] = {"\\\\M\\In", "\\\\M\\In", "\\\\M\\Out", "\\\\M\\In", "", ""};
  for (int i = 0; i < 6; ++i) list.Add(Item(ids[i], folders[i]));
  ASSERT_EQ(list.RowCount(), 6);
  for (int i = 0; i < 6; ++i) {
    const FoundItem item = list.Item(i + 1);
    EXPECT_EQ(item.entry_id, ids[i]);
    EXPECT_EQ(item.folder, folders[i]);
    EXPECT_EQ(item.subject, "subject");
  }
  const RowTexts expected = {"091205 070309", "from", "subject", "to", "091205 070310",
                             "00A1FF", "\\\\M\\In", "091205 070311"};
  EXPECT_EQ(list.Texts(1), expected);
  for (int column = 0; column < 8; ++column) EXPECT_EQ(list.Text(1, column), expected[column]);
  EXPECT_THROW(list.Text(1, 8), std::out_of_range);
  EXPECT_THROW(list.Item(7), std::out_of_range);
  EXPECT_EQ(changes, 7);

  list.Start({"yyyy", {}});
  EXPECT_EQ(list.RowCount(), 0);
  list.Add(Item("AB", "f"));
  EXPECT_EQ(list.Text(1, 0), "2009");
}

}  // namespace
}  // namespace qs

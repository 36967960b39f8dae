#include "mailstore/entry_id.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

// Outlook's identifiers come as text: pairs of digits in either case.
TEST(EntryId, ReadsHexadecimalTextAndWritesItInUpperCase) {
  const std::pair<const char*, const char*> rows[] = {
      {"", ""}, {"00ff7A", "00FF7A"}, {"0", nullptr}, {"0G", nullptr}, {"00 1", nullptr}, {"-1", nullptr}};
  for (const auto& [text, shown] : rows) {
    const std::optional<EntryId> id = EntryId::FromHex(text);
    if (shown == nullptr)
      EXPECT_FALSE(id) << text;
    else
      EXPECT_EQ(id ? id->Hex() : "none", shown) << text;
  }
  EXPECT_EQ(EntryId::FromHex("00ff")->Bytes(), std::string("\0\xFF", 2));
}

}  // namespace
}  // namespace qs

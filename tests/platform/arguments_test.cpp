#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system.h"

namespace qs {
namespace {

std::string Join(const std::vector<const char*>& args) {
  return JoinArguments(static_cast<int>(args.size()), args.data());
}

TEST(JoinArguments, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(Join({"a", "b"}), "a b");
  EXPECT_EQ(Join({"a b", "c"}), "\"a b\" c");
  EXPECT_EQ(Join({""}), "\"\"");
  EXPECT_EQ(Join({"say \"hi\""}), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(Join({"ab\"cd"}), "\"ab\"\"cd\"");
  EXPECT_EQ(Join({"\"x"}), "\"\"\"x\"");
  EXPECT_EQ(Join({}), "");
}

}  // namespace
}  // namespace qs

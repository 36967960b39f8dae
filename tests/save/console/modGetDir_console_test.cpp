#include <gtest/gtest.h>

#include "../list_fixture.h"
#include "save/modGetDir.h"

namespace qs {
namespace {

std::optional<std::string> Answer(test::ListFixture& fixture, const std::string& input) {
  fixture.in.str(input);
  fixture.in.clear();
  return GetDir(fixture.app, "Choose Directory");
}

// The path typed after the prompt ends in one separator; no answer cancels.
TEST(GetDirOnTheTerminal, ReadsThePathAfterThePrompt) {
  test::ListFixture fixture;
  EXPECT_EQ(Answer(fixture, "/home/user/Mail\n"), "/home/user/Mail/");
  EXPECT_EQ(fixture.out.str(), "Choose Directory\n");
  EXPECT_EQ(Answer(fixture, "/home/user/Mail/\r\n"), "/home/user/Mail/");
  EXPECT_EQ(Answer(fixture, "/\n"), "/");
  EXPECT_EQ(Answer(fixture, "\n"), "");
  EXPECT_EQ(Answer(fixture, ""), "");
  EXPECT_TRUE(fixture.Messages().empty());
  fixture.windows.fail_prompts = true;
  EXPECT_EQ(Answer(fixture, "/home\n"), std::nullopt);
  EXPECT_EQ(fixture.Messages(), std::vector<std::string>{"The folder dialog could not be opened."});
}

}  // namespace
}  // namespace qs

// Arguments that a system hands over already split must come back from the
// tokenizer exactly as they were.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/clsCmdline.h"
#include "platform/system.h"

namespace qs {
namespace {

std::vector<std::string> RoundTrip(const std::vector<std::string>& args) {
  std::vector<const char*> pointers;
  for (const auto& arg : args) pointers.push_back(arg.c_str());
  clsCmdline cmdline;
  cmdline.SetCmdline(JoinArguments(static_cast<int>(pointers.size()), pointers.data()));
  std::vector<std::string> back;
  for (int i = 0; i < cmdline.argc(); ++i) back.push_back(cmdline.arg(i));
  return back;
}

TEST(ArgumentRoundTrip, AwkwardArgumentsSurvive) {
  const std::vector<std::string> args = {
      "\\\\Personal Folders\\Inbox", "", "\"", "\"\"", "a\"b", "\"lead", "trail\"", " ", "x y  z",
      "/autorun", "-ini", "tab\there", "Grüße \"Welt\""};
  EXPECT_EQ(RoundTrip(args), args);
}

TEST(ArgumentRoundTrip, RandomArgumentsSurvive) {
  std::mt19937 random(12345);
  const std::string alphabet = "ab \"\t\\/-x";
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::string> args(random() % 6);
    for (auto& arg : args) {
      const auto length = random() % 7;
      for (unsigned i = 0; i < length; ++i) arg += alphabet[random() % alphabet.size()];
    }
    ASSERT_EQ(RoundTrip(args), args) << "round " << round;
  }
}

TEST(ArgumentRoundTrip, OnlyTheFirstTwentyArgumentsArrive) {
  std::vector<std::string> args;
  for (int i = 0; i < 25; ++i) args.push_back(std::string("arg ").append(std::to_string(i)));
  const auto back = RoundTrip(args);
  ASSERT_EQ(back.size(), 20u);
  EXPECT_EQ(back.back(), "arg 19");
}

}  // namespace
}  // namespace qs

#include "app/clsCmdline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace qs {
namespace {

std::vector<std::string> Raw(const std::string& text) {
  clsCmdline cmdline;
  cmdline.SetCmdline(text);
  std::vector<std::string> tokens;
  for (int i = 0; i < cmdline.argc(); ++i) tokens.push_back(cmdline.argv(i));
  return tokens;
}

using Tokens = std::vector<std::string>;

TEST(CommandLineTokens, SpacesSeparateAndAreNotKept) {
  EXPECT_EQ(Raw(""), Tokens{});
  EXPECT_EQ(Raw("     "), Tokens{});
  EXPECT_EQ(Raw("  a   b  "), (Tokens{"a", "b"}));
  EXPECT_EQ(Raw("a\tb"), Tokens{"a\tb"}) << "only the space separates";
}

TEST(CommandLineTokens, QuotedTokensKeepTheirQuotesAndSpaces) {
  EXPECT_EQ(Raw("a \"b c\" d"), (Tokens{"a", "\"b c\"", "d"}));
  EXPECT_EQ(Raw("\"say \"\"hi\"\"\""), Tokens{"\"say \"hi\"\""});
  EXPECT_EQ(Raw("\"\""), Tokens{"\"\""});
  EXPECT_EQ(Raw("\"ab\"cd"), (Tokens{"\"ab\"", "cd"})) << "no space needed after a closing quote";
  EXPECT_EQ(Raw("\"a\"\"b\""), Tokens{"\"a\"b\""});
}

TEST(CommandLineTokens, QuoteInsideAPlainTokenIsOrdinary) {
  EXPECT_EQ(Raw("ab\"cd ef\""), (Tokens{"ab\"cd", "ef\""}));
}

TEST(CommandLineTokens, UnclosedQuoteDropsTheRest) {
  EXPECT_EQ(Raw("a \"b c"), Tokens{"a"});
  EXPECT_EQ(Raw("\"unclosed"), Tokens{});
  EXPECT_EQ(Raw("a \"\"\" b"), Tokens{"a"}) << "a doubled quote never closes";
}

TEST(CommandLineTokens, KeepsTheFirstTwentyTokens) {
  std::string text;
  for (int i = 1; i <= 25; ++i) text.append("t").append(std::to_string(i)).append(" ");
  clsCmdline cmdline;
  cmdline.SetCmdline(text);
  EXPECT_EQ(cmdline.argc(), 20);
  EXPECT_EQ(cmdline.argv(19), "t20");
}

TEST(CommandLineTokens, SettingAgainReplacesEverything) {
  clsCmdline cmdline;
  cmdline.SetCmdline("a b c");
  cmdline.SetCmdline("x");
  EXPECT_EQ(cmdline.argc(), 1);
  EXPECT_EQ(cmdline.argv(0), "x");
  EXPECT_EQ(cmdline.argv(1), "") << "slots past the last token read empty";
  EXPECT_EQ(cmdline.argv(2), "");
}

TEST(CommandLineTokens, IndexesOutsideTheTwentySlotsFail) {
  clsCmdline cmdline;
  EXPECT_THROW(cmdline.argv(0), std::out_of_range) << "before any text was set";
  cmdline.SetCmdline("a");
  EXPECT_THROW(cmdline.argv(20), std::out_of_range);
  EXPECT_THROW(cmdline.arg(-1), std::out_of_range);
  EXPECT_NO_THROW(cmdline.argv(19));
}

TEST(CommandLineTokens, ArgRemovesSurroundingQuotesOnly) {
  clsCmdline cmdline;
  cmdline.SetCmdline("a \"b c\" \"say \"\"hi\"\"\" \"\" ab\"cd");
  EXPECT_EQ(cmdline.arg(0), "a");
  EXPECT_EQ(cmdline.arg(1), "b c");
  EXPECT_EQ(cmdline.arg(2), "say \"hi\"");
  EXPECT_EQ(cmdline.arg(3), "");
  EXPECT_EQ(cmdline.arg(4), "ab\"cd");
  EXPECT_EQ(clsCmdline::RmQuotes("\""), "");
  EXPECT_EQ(clsCmdline::RmQuotes("x\""), "x\"") << "only the first character is tested";
}

TEST(CommandLineTokens, NonAsciiTextPassesThrough) {
  EXPECT_EQ(Raw("\"\\\\Persönliche Ordner\\Posteingang\" C:\\Mail"),
            (Tokens{"\"\\\\Persönliche Ordner\\Posteingang\"", "C:\\Mail"}));
}

}  // namespace
}  // namespace qs

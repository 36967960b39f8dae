#include "app/clsCmdline.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qs {
namespace {

// The raw tokens (argv) and the unquoted ones (arg) of a command line, each
// ended by "|".
std::pair<std::string, std::string> Split(const std::string& text) {
  clsCmdline cmdline;
  cmdline.SetCmdline(text);
  std::pair<std::string, std::string> tokens;
  for (int i = 0; i < cmdline.argc(); ++i) {
    tokens.first += cmdline.argv(i) + "|";
    tokens.second += cmdline.arg(i) + "|";
  }
  return tokens;
}

// Only the space separates; a quoted token keeps its quotes and spaces and
// ends at its closing quote; a quote inside a plain token is ordinary; an
// unclosed quote drops the rest. arg removes the surrounding quotes only.
TEST(CommandLineTokens, SplitAtSpacesOutsideQuotes) {
  const struct {
    const char *text, *raw, *unquoted;
  } cases[] = {
      {"     ", "", ""},
      {"  a   b  ", "a|b|", "a|b|"},
      {"a\tb", "a\tb|", "a\tb|"},
      {"a \"b c\" d", "a|\"b c\"|d|", "a|b c|d|"},
      {"\"say \"\"hi\"\"\"", "\"say \"hi\"\"|", "say \"hi\"|"},
      {"\"\"", "\"\"|", "|"},
      {"\"ab\"cd", "\"ab\"|cd|", "ab|cd|"},
      {"ab\"cd ef\"", "ab\"cd|ef\"|", "ab\"cd|ef\"|"},
      {"a \"b c", "a|", "a|"},
      {"a \"\"\" b", "a|", "a|"},  // a doubled quote never closes
  };
  for (const auto& c : cases)
    EXPECT_EQ(Split(c.text), std::make_pair(std::string(c.raw), std::string(c.unquoted))) << c.text;
}

// Twenty slots: later tokens are dropped, slots past the last token read
// empty, and indexes outside the slots fail.
TEST(CommandLineTokens, TwentySlotsReplacedOnEachSetting) {
  clsCmdline cmdline;
  EXPECT_THROW(cmdline.argv(0), std::out_of_range) << "before any text was set";
  std::string text;
  for (int i = 1; i <= 25; ++i) text += "t" + std::to_string(i) + " ";
  cmdline.SetCmdline(text);
  EXPECT_EQ(std::to_string(cmdline.argc()) + " " + cmdline.argv(19), "20 t20");
  cmdline.SetCmdline("x");
  EXPECT_EQ(std::to_string(cmdline.argc()) + " " + cmdline.argv(1) + cmdline.argv(19), "1 ");
  EXPECT_THROW(cmdline.argv(20), std::out_of_range);
  EXPECT_THROW(cmdline.arg(-1), std::out_of_range);
}

}  // namespace
}  // namespace qs

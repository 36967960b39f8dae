#pragma once
// Splits a command-line text into at most 20 tokens. Tokens are separated by
// spaces (only code 32; a tab is an ordinary character). A token that begins
// with a double quote runs to its closing quote and may hold spaces; inside
// it two double quotes stand for one. Tokens are kept as written and read
// either raw (argv) or without their surrounding quotes (arg).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class clsCmdline {
 public:
  static constexpr int kMaxTokens = 20;

  std::int16_t argc() const { return argc_; }
  void SetArgc(std::int16_t count) { argc_ = count; }
  // Token x as stored; x must lie in 0..19, and the text must have been set.
  const std::string& argv(int x) const;
  // Token x without its surrounding quotes.
  std::string arg(int x) const { return RmQuotes(argv(x)); }
  // Tokenizes the text, replacing every earlier token.
  void SetCmdline(std::string text);
  const std::string& Cmdline() const { return cmdline_; }

  // Drops the first and last character when the first is a double quote.
  static std::string RmQuotes(std::string_view s);

 private:
  std::int16_t argc_ = 0;
  std::string cmdline_;
  std::optional<std::array<std::string, kMaxTokens>> tokens_;
};

}  // namespace qs

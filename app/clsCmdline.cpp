#include "app/clsCmdline.h"

#include <stdexcept>

namespace qs {

namespace {

// Scanning state over one text: the position and the character there, the
// empty text past the end.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Advance(std::size_t count = 1) { pos_ += count; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// A token that is not quoted ends at the next space; running into the end
// of the text means there was no token left.
bool PlainToken(Scanner& s, std::string& token) {
  while (!s.AtEnd()) {
    if (s.Peek() == ' ') return true;
    token += s.Peek();
    s.Advance();
  }
  return false;
}

// A quoted token keeps its quotes; "" inside it is one literal quote. An
// unclosed quote yields no token and ends the tokenizing.
bool QuotedToken(Scanner& s, std::string& token) {
  token += '"';
  s.Advance();
  for (;;) {
    if (s.AtEnd()) return false;
    if (s.Peek() == '"' && s.Peek(1) == '"') {
      token += '"';
      s.Advance(2);
    } else if (s.Peek() == '"') {
      break;
    } else {
      token += s.Peek();
      s.Advance();
    }
  }
  token += '"';
  s.Advance();
  return true;
}

bool NextToken(Scanner& s, std::string& token) {
  token.clear();
  while (s.Peek() == ' ') s.Advance();
  return s.Peek() == '"' ? QuotedToken(s, token) : PlainToken(s, token);
}

}  // namespace

const std::string& clsCmdline::argv(int x) const {
  if (!tokens_ || x < 0 || x >= kMaxTokens)
    throw std::out_of_range("command-line token " + std::to_string(x));
  return (*tokens_)[static_cast<std::size_t>(x)];
}

void clsCmdline::SetCmdline(std::string text) {
  argc_ = 0;
  cmdline_ = std::move(text);
  tokens_.emplace();
  // One space appended, so that a last unquoted token ends like any other.
  const std::string padded = cmdline_ + ' ';
  Scanner scanner(padded);
  std::string token;
  while (NextToken(scanner, token)) {
    if (argc_ < kMaxTokens) (*tokens_)[static_cast<std::size_t>(argc_++)] = token;
  }
}

std::string clsCmdline::RmQuotes(std::string_view s) {
  if (s.empty() || s.front() != '"') return std::string(s);
  if (s.size() < 2) return {};
  return std::string(s.substr(1, s.size() - 2));
}

}  // namespace qs

#include "settings/check_state_text.h"

#include <cmath>
#include <cstddef>

namespace qs {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads [+-]digits[.digits] or [+-].digits at the start of text; consumed
// tells how many characters it took (0 when there was no number).
double ReadNumber(std::string_view text, std::size_t& consumed) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  double number = 0;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number = number * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    std::size_t j = i + 1;
    for (; j < text.size() && IsDigit(text[j]); ++j, ++digits, scale /= 10)
      number += (text[j] - '0') * scale;
    if (j > i + 1) i = j;
  }
  consumed = digits == 0 ? 0 : i;
  return negative ? -number : number;
}

std::optional<int> AsCheckState(double number) {
  const double rounded = std::nearbyint(number);
  if (rounded < 0 || rounded > 2) return std::nullopt;
  return static_cast<int>(rounded);
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

std::optional<int> CheckStateFromLeadingNumber(std::string_view text) {
  std::size_t consumed = 0;
  return AsCheckState(ReadNumber(SkipBlanks(text), consumed));
}

std::optional<int> CheckStateFromWholeText(std::string_view text) {
  text = SkipBlanks(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::size_t consumed = 0;
  const double number = ReadNumber(text, consumed);
  if (consumed == 0 || consumed != text.size()) return std::nullopt;
  return AsCheckState(number);
}

}  // namespace qs

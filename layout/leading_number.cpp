#include "layout/leading_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace qs {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the longest prefix that reads as a decimal number.
std::size_t NumberLength(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digits_from = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool any_digit = i > digits_from;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > i + 1 || any_digit) {
      any_digit = any_digit || j > i + 1;
      i = j;
    }
  }
  if (!any_digit) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponent_from = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > exponent_from) i = j;
  }
  return i;
}

}  // namespace

std::int16_t LeadingWholeNumber(std::string_view text) {
  const std::size_t length = NumberLength(text);
  if (length == 0) return 0;
  const std::string number(text.substr(0, length));
  const double value = std::nearbyint(std::strtod(number.c_str(), nullptr));
  if (!(value >= -32768.0 && value <= 32767.0))
    throw std::out_of_range("number out of range: " + number);
  return static_cast<std::int16_t>(value);
}

}  // namespace qs

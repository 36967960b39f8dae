#include "platform/text.h"

#include <algorithm>

namespace qs {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::size_t CodePointBytes(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if (lead >= 0xC0 && lead < 0xE0) length = 2;
  else if (lead >= 0xE0 && lead < 0xF0) length = 3;
  else if (lead >= 0xF0 && lead < 0xF8) length = 4;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  return length;
}

namespace {

std::size_t UnitsOf(std::size_t bytes) { return bytes == 4 ? 2 : 1; }

}  // namespace

std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  while (!text.empty()) {
    const std::size_t bytes = CodePointBytes(text);
    units += UnitsOf(bytes);
    text.remove_prefix(bytes);
  }
  return units;
}

std::string_view Utf16Prefix(std::string_view text, std::size_t units) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t bytes = CodePointBytes(text.substr(end));
    if (UnitsOf(bytes) > units) break;
    units -= UnitsOf(bytes);
    end += bytes;
  }
  return text.substr(0, end);
}

std::string_view Utf16Suffix(std::string_view text, std::size_t units) {
  while (!text.empty() && units > 0) {
    const std::size_t bytes = CodePointBytes(text);
    units -= std::min(units, UnitsOf(bytes));
    text.remove_prefix(bytes);
  }
  return text;
}

}  // namespace qs

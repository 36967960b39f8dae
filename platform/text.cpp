#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace qs {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

namespace {

// Each byte's value as a hex digit; 0xFF for a byte that is none.
constexpr std::array<unsigned char, 256> HexDigitValues() {
  std::array<unsigned char, 256> values{};
  values.fill(0xFF);
  for (int c = '0'; c <= '9'; ++c) values[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c) {
    values[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 'a' + 10);
    values[static_cast<std::size_t>(c - 'a' + 'A')] = static_cast<unsigned char>(c - 'a' + 10);
  }
  return values;
}

constexpr auto kHexDigitValues = HexDigitValues();

}  // namespace

char* WriteHexDigits(std::string_view bytes, char* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = kDigits[byte >> 4];
    *out++ = kDigits[byte & 0xF];
  }
  return out;
}

std::optional<char> HexByte(std::string_view text) {
  if (text.size() < 2) return std::nullopt;
  const unsigned high = kHexDigitValues[static_cast<unsigned char>(text[0])];
  const unsigned low = kHexDigitValues[static_cast<unsigned char>(text[1])];
  if (high > 15 || low > 15) return std::nullopt;
  return static_cast<char>(high << 4 | low);
}

void AppendPercentEscape(std::string& out, char byte) {
  char escape[3] = {'%'};
  WriteHexDigits(std::string_view(&byte, 1), escape + 1);
  out.append(escape, sizeof escape);
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (const auto byte = text[i] == '%' ? HexByte(text.substr(i + 1)) : std::nullopt) {
      out += *byte;
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// By hand: find_first_not_of with a set calls memchr on the set once per
// character, and header texts are trimmed by the thousand.
std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string OnOneLine(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

namespace {

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at;
}

}  // namespace

RoundedNumber ReadRoundedNumber(std::string_view text, NumberExponent exponent) {
  const std::size_t digits_from = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  std::size_t end = SkipDigits(text, digits_from);
  std::size_t digits = end - digits_from;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction_end = SkipDigits(text, end + 1);
    digits += fraction_end - (end + 1);
    end = fraction_end;
  }
  if (digits == 0) return {};
  const bool exponent_follows = end < text.size() && (text[end] == 'e' || text[end] == 'E');
  if (exponent == NumberExponent::kAllowed && exponent_follows) {
    std::size_t from = end + 1;
    if (from < text.size() && (text[from] == '+' || text[from] == '-')) ++from;
    const std::size_t exponent_end = SkipDigits(text, from);
    if (exponent_end > from) end = exponent_end;
  }
  // strtod reads what is checked above and nothing more: no blanks, no
  // hexadecimal, no "inf".
  const std::string number(text.substr(0, end));
  return {end, std::nearbyint(std::strtod(number.c_str(), nullptr))};
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

Utf8Sequence DecodeUtf8(std::string_view text) {
  if (text.empty()) return {};
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return {lead, 1, true, false};
  const Utf8Sequence invalid{0xFFFD, 1, false, false};
  // The sequence's length and the range of its second byte, which rules out
  // overlong forms, surrogates and values above U+10FFFF.
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, value = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, value = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, value = lead & 0x07;
  else return invalid;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  for (std::size_t i = 1; i < length; ++i) {
    if (i == text.size()) return {0xFFFD, 1, false, true};
    const unsigned char next = at(i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return invalid;
    value = (value << 6) | (next & 0x3Fu);
  }
  return {value, length, true, false};
}

std::size_t CodePointBytes(std::string_view text) { return DecodeUtf8(text).bytes; }

void AppendUtf8(std::string& out, char32_t c) {
  const auto byte = [&](char32_t value) { out += static_cast<char>(value); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | (c >> 6));
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | (c >> 12));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | (c >> 18));
    byte(0x80 | ((c >> 12) & 0x3F));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// Calls take with each UTF-16 unit of the text.
template <class Take>
void ForEachUtf16Unit(std::string_view utf8, Take take) {
  while (!utf8.empty()) {
    const Utf8Sequence next = DecodeUtf8(utf8);
    if (next.code_point < 0x10000) {
      take(static_cast<char16_t>(next.code_point));
    } else {
      const char32_t above = next.code_point - 0x10000;
      take(static_cast<char16_t>(0xD800 + (above >> 10)));
      take(static_cast<char16_t>(0xDC00 + (above & 0x3FF)));
    }
    utf8.remove_prefix(next.bytes);
  }
}

// The UTF-8 of count UTF-16 units, unit(i) giving the i-th.
template <class Unit>
std::string Utf8OfUnits(std::size_t count, Unit unit) {
  std::string utf8;
  utf8.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t first = unit(i);
    if (IsHighSurrogate(first) && i + 1 < count && IsLowSurrogate(unit(i + 1))) {
      AppendUtf8(utf8, 0x10000 + ((first - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else {
      AppendUtf8(utf8, IsHighSurrogate(first) || IsLowSurrogate(first) ? kReplacement : first);
    }
  }
  return utf8;
}

}  // namespace

std::u16string Utf16Of(std::string_view utf8) {
  std::u16string utf16;
  utf16.reserve(utf8.size());
  ForEachUtf16Unit(utf8, [&utf16](char16_t unit) { utf16 += unit; });
  return utf16;
}

std::string Utf16LeOf(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(2 * utf8.size());
  ForEachUtf16Unit(utf8, [&bytes](char16_t unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  });
  return bytes;
}

std::string Utf8OfUtf16(std::u16string_view utf16) {
  return Utf8OfUnits(utf16.size(), [utf16](std::size_t i) { return char32_t{utf16[i]}; });
}

std::string Utf8OfUtf16Le(std::string_view bytes) {
  return Utf8OfUnits(bytes.size() / 2, [bytes](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  });
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
  // No character takes more UTF-16 units than UTF-8 bytes.
  if (text.size() <= units) return text;
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

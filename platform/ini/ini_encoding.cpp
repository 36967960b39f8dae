#include "platform/ini/ini_encoding.h"

#include <cstdint>

namespace qs::ini {

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  const auto byte = [&](std::uint32_t value) { out += static_cast<char>(value); };
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

void AppendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

void AppendUtf16Le(std::string& out, char32_t c) {
  if (c < 0x10000) return AppendUnit(out, c);
  c -= 0x10000;
  AppendUnit(out, 0xD800 + (c >> 10));
  AppendUnit(out, 0xDC00 + (c & 0x3FF));
}

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// The code point at the front of text and how many bytes it takes; a byte
// that starts no valid, shortest-form sequence is one replacement character.
char32_t NextCodePoint(std::string_view text, std::size_t& bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(0);
  bytes = 1;
  if (lead < 0x80) return lead;
  std::size_t length = 0;
  char32_t c = 0, least = 0;
  if (lead >= 0xC2 && lead < 0xE0) length = 2, c = lead & 0x1F, least = 0x80;
  else if (lead >= 0xE0 && lead < 0xF0) length = 3, c = lead & 0x0F, least = 0x800;
  else if (lead >= 0xF0 && lead < 0xF5) length = 4, c = lead & 0x07, least = 0x10000;
  else return kReplacement;
  if (text.size() < length) return kReplacement;
  for (std::size_t i = 1; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (at(i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || IsHigh(c) || IsLow(c)) return kReplacement;
  bytes = length;
  return c;
}

}  // namespace

FileText DecodeFileText(std::string_view bytes) {
  if (!bytes.starts_with(kUtf16LeMark)) return {FileEncoding::kAsIs, std::string(bytes)};
  bytes.remove_prefix(kUtf16LeMark.size());
  FileText result{FileEncoding::kUtf16Le, {}};
  const auto unit = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t first = unit(i);
    if (IsHigh(first) && i + 3 < bytes.size() && IsLow(unit(i + 2))) {
      AppendUtf8(result.text, 0x10000 + ((first - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
      i += 2;
    } else {
      AppendUtf8(result.text, IsHigh(first) || IsLow(first) ? kReplacement : first);
    }
  }
  return result;
}

std::string EncodeFileText(std::string_view text, FileEncoding encoding) {
  if (encoding == FileEncoding::kAsIs) return std::string(text);
  std::string bytes(kUtf16LeMark);
  while (!text.empty()) {
    std::size_t used = 0;
    AppendUtf16Le(bytes, NextCodePoint(text, used));
    text.remove_prefix(used);
  }
  return bytes;
}

}  // namespace qs::ini

#include "platform/ini/ini_encoding.h"

#include <cstdint>

#include "platform/text.h"

namespace qs::ini {

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

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
    const Utf8Sequence next = DecodeUtf8(text);
    AppendUtf16Le(bytes, next.code_point);
    text.remove_prefix(next.bytes);
  }
  return bytes;
}

}  // namespace qs::ini

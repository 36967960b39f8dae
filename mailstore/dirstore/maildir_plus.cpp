#include "mailstore/dirstore/maildir_plus.h"

#include <sys/stat.h>

#include "platform/text.h"

namespace qs::dirstore {

namespace {

// The value of a character of modified base64, which writes "," for "/".
int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == ',') return 63;
  return -1;
}

// The UTF-16 units of a run of modified base64; nothing when it is not one
// or leaves bits that are not zero.
std::optional<std::u16string> DecodeRun(std::string_view run) {
  std::u16string units;
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : run) {
    const int sextet = SextetOf(c);
    if (sextet < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(sextet);
    count += 6;
    if (count >= 16) {
      count -= 16;
      units.push_back(static_cast<char16_t>((bits >> count) & 0xFFFF));
    }
  }
  if (count >= 6 || (bits & ((1u << count) - 1)) != 0 || units.empty()) return std::nullopt;
  return units;
}

}  // namespace

bool IsMaildir(const Directory& directory) {
  for (const char* sub : {"cur", "new", "tmp"}) {
    const auto status = directory.Status(sub);
    if (!status || !S_ISDIR(status->st_mode)) return false;
  }
  return true;
}

std::optional<std::vector<std::string_view>> MaildirPlusParts(std::string_view name) {
  if (name.size() < 2 || name.front() != '.') return std::nullopt;
  std::vector<std::string_view> parts;
  for (name.remove_prefix(1);;) {
    const auto dot = name.find('.');
    parts.push_back(name.substr(0, dot));
    if (parts.back().empty()) return std::nullopt;
    if (dot == std::string_view::npos) return parts;
    name.remove_prefix(dot + 1);
  }
}

std::string MaildirPlusPrefix(const std::vector<std::string_view>& parts, std::size_t count) {
  std::string name;
  for (std::size_t i = 0; i < count && i < parts.size(); ++i) name.append(1, '.').append(parts[i]);
  return name;
}

std::string DecodeModifiedUtf7(std::string_view part) {
  std::string shown;
  for (std::size_t at = 0; at < part.size();) {
    const auto amp = part.find('&', at);
    shown.append(part.substr(at, amp - at));
    if (amp == std::string_view::npos) break;
    const auto dash = part.find('-', amp + 1);
    if (dash == std::string_view::npos) return std::string(part);
    if (dash == amp + 1) {
      shown += '&';
    } else {
      const std::optional<std::u16string> units = DecodeRun(part.substr(amp + 1, dash - amp - 1));
      if (!units) return std::string(part);
      shown += Utf8OfUtf16(*units);
    }
    at = dash + 1;
  }
  return shown;
}

}  // namespace qs::dirstore

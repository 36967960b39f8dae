#include "app/posix/json_text.h"

#include <cstdio>
#include <ctime>

#include "platform/text.h"

namespace qs {

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  while (!text.empty()) {
    const Utf8Sequence sequence = DecodeUtf8(text);
    const char32_t c = sequence.code_point;
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
      json += escaped;
    } else if (sequence.valid) {
      json.append(text.substr(0, sequence.bytes));
    } else {
      AppendUtf8(json, U'\uFFFD');
    }
    text.remove_prefix(sequence.bytes);
  }
  return json + '"';
}

std::string JsonLocalTime(DateTime time) {
  if (time == NoDate()) return "null";
  const CivilTime civil = ToCivil(time);
  std::tm local{};
  local.tm_year = civil.year - 1900;
  local.tm_mon = static_cast<int>(civil.month) - 1;
  local.tm_mday = static_cast<int>(civil.day);
  local.tm_hour = civil.hour;
  local.tm_min = civil.minute;
  local.tm_sec = civil.second;
  local.tm_isdst = -1;
  // The offset of that moment, daylight saving time or not; a time the
  // clocks skipped is read as the zone's library reads it.
  const std::time_t moment = std::mktime(&local);
  std::tm zoned{};
  long offset = 0;
  if (moment != static_cast<std::time_t>(-1) && localtime_r(&moment, &zoned)) offset = zoned.tm_gmtoff;
  const long minutes = (offset < 0 ? -offset : offset) / 60;
  char text[80];
  std::snprintf(text, sizeof text, "\"%04d-%02u-%02uT%02d:%02d:%02d%c%02ld:%02ld\"", civil.year, civil.month,
                civil.day, civil.hour, civil.minute, civil.second, offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return text;
}

}  // namespace qs

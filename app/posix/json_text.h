#pragma once
// The values of the list's JSON lines: texts as JSON strings, and times in
// ISO 8601 with the local offset they had.

#include <string>
#include <string_view>

#include "mailstore/date_time.h"

namespace qs {

// The text in double quotes, with quotes, backslashes and control
// characters escaped (the latter as \uXXXX); a byte that starts no valid
// UTF-8 sequence becomes U+FFFD, so the string is always valid JSON.
std::string JsonString(std::string_view text);

// "2009-12-05T07:03:09+01:00" for a local time, with the offset from UTC
// the local time zone had then; null for a time that is not set (NoDate).
std::string JsonLocalTime(DateTime time);

}  // namespace qs

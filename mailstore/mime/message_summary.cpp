#include "mailstore/mime/message_summary.h"

#include <gmime/gmime.h>

#include <cctype>
#include <ctime>

#include "mailstore/mail_store.h"
#include "mailstore/mime/gmime_library.h"
#include "mailstore/mime/header_parameter.h"
#include "platform/text.h"

namespace qs {

namespace {

int ItemClass(const RawHeaders& headers) {
  const std::string_view content_type = headers.content_type;
  const std::string type = AsciiLower(HeaderValue(content_type));
  if (type == "multipart/report") return kReportItemClass;
  if (AsciiLower(headers.content_class) == "urn:content-classes:calendarmessage")
    return kMeetingRequestClass;
  if (type == "text/calendar" && AsciiLower(HeaderParameter(content_type, "method")) == "request")
    return kMeetingRequestClass;
  return kMailItemClass;
}

// A Maildir file name carries its flags after ":2,"; "D" marks a draft.
bool IsDraft(std::string_view file_name) {
  const auto info = file_name.rfind(":2,");
  return info != std::string_view::npos &&
         file_name.substr(info + 3).find('D') != std::string_view::npos;
}

// Reads the usual form of a mail date, "Tue, 30 Jun 2009 17:00:00 +0200",
// as seconds since 1970. Most mail writes exactly this form, and reading it
// here spares the search GMime's general parser and its time-zone objects;
// anything else is left to GMime.
class DateReader {
 public:
  explicit DateReader(std::string_view text) : text_(text) {}

  std::optional<long long> Read() {
    Blanks();
    const std::size_t weekday_end = text_.find(',', at_);
    if (weekday_end != std::string_view::npos && weekday_end - at_ <= 9) at_ = weekday_end + 1;
    const auto day = Number(1, 2);
    const auto month = Month();
    const auto year = Number(2, 4);
    const auto hour = Number(1, 2);
    if (!day || !month || !year || !hour || !Expect(':')) return std::nullopt;
    const auto minute = Number(2, 2);
    std::optional<int> second = 0;
    if (at_ < text_.size() && text_[at_] == ':') {
      ++at_;
      second = Number(2, 2);
    }
    const auto offset = Zone();
    if (!minute || !second || !offset || *hour > 23 || *minute > 59 || *second > 60)
      return std::nullopt;
    int full_year = *year;
    if (full_year >= 100 && full_year < 1000) return std::nullopt;
    if (full_year < 100) full_year += full_year < 50 ? 2000 : 1900;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{full_year}, std::chrono::month{*month},
                              std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
    const long long days_since_epoch = sys_days{date}.time_since_epoch().count();
    return days_since_epoch * 86400 + *hour * 3600 + *minute * 60 + std::min(*second, 59) - *offset;
  }

 private:
  void Blanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }
  bool Expect(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  std::optional<int> Number(std::size_t min_digits, std::size_t max_digits) {
    Blanks();
    std::size_t digits = 0;
    int value = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && digits < max_digits) {
      value = value * 10 + (text_[at_++] - '0');
      ++digits;
    }
    if (digits < min_digits || (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9'))
      return std::nullopt;
    return value;
  }
  std::optional<unsigned> Month() {
    Blanks();
    static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text_.size() - at_ < 4 || text_[at_ + 3] != ' ') return std::nullopt;
    const char name[3] = {AsciiLower(text_[at_]), AsciiLower(text_[at_ + 1]), AsciiLower(text_[at_ + 2])};
    for (unsigned i = 0; i < 12; ++i)
      if (std::string_view(name, 3) == kMonths[i]) {
        at_ += 3;
        return i + 1;
      }
    return std::nullopt;
  }
  // The zone as seconds east of UTC; a comment after it is passed over.
  std::optional<int> Zone() {
    Blanks();
    if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
      const int sign = text_[at_++] == '-' ? -1 : 1;
      const std::size_t start = at_;
      const auto value = Number(4, 4);
      if (!value || at_ - start != 4 || *value % 100 > 59) return std::nullopt;
      return sign * (*value / 100 * 3600 + *value % 100 * 60);
    }
    std::size_t end = at_;
    while (end < text_.size() && std::isalpha(static_cast<unsigned char>(text_[end]))) ++end;
    const std::string name = AsciiLower(text_.substr(at_, end - at_));
    at_ = end;
    if (name == "gmt" || name == "ut" || name == "utc" || name == "z") return 0;
    return std::nullopt;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

DateTime LocalTimeOf(long long unix_seconds) {
  const std::time_t when = static_cast<std::time_t>(unix_seconds);
  std::tm local{};
  if (!localtime_r(&when, &local)) return NoDate();
  using namespace std::chrono;
  const year_month_day date{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                            day{static_cast<unsigned>(local.tm_mday)}};
  return local_days{date} + hours{local.tm_hour} + minutes{local.tm_min} +
         seconds{std::min(local.tm_sec, 59)};
}

std::optional<long long> ParseMailDateSeconds(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (const auto seconds = DateReader(text).Read()) return seconds;
  EnsureGMimeInitialised();
  const std::string copy(text);
  GDateTime* parsed = g_mime_utils_header_decode_date(copy.c_str());
  if (!parsed) return std::nullopt;
  const long long seconds = g_date_time_to_unix(parsed);
  g_date_time_unref(parsed);
  return seconds;
}

ItemFacts Summarize(const RawHeaders& headers, std::string_view file_name,
                         const std::function<long long()>& modified) {
  ItemFacts summary;
  summary.item_class = ItemClass(headers);
  const std::optional<long long> date = ParseMailDateSeconds(headers.date);
  summary.sent_on = date ? LocalTimeOf(*date) : NoDate();
  summary.sent = date && TrimBlanks(headers.x_unsent) != "1" && !IsDraft(file_name);
  std::optional<long long> received;
  if (const auto semicolon = headers.received.rfind(';'); semicolon != std::string_view::npos)
    received = ParseMailDateSeconds(TrimBlanks(headers.received.substr(semicolon + 1)));
  const long long arrived = received ? *received : date ? *date : modified();
  summary.received_seconds = arrived;
  // Mostly the same instant as the date: turned into local time once.
  summary.received = date && *date == arrived ? summary.sent_on : LocalTimeOf(arrived);
  summary.created = summary.received;
  return summary;
}

}  // namespace qs

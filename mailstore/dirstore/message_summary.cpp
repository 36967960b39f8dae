#include "mailstore/dirstore/message_summary.h"

#include <gmime/gmime.h>

#include <ctime>

#include "mailstore/dirstore/address_list.h"
#include "mailstore/dirstore/gmime_library.h"
#include "mailstore/dirstore/header_text.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The value of a parameter of a Content-Type, unquoted and lower case.
std::string Parameter(std::string_view content_type, std::string_view wanted) {
  std::size_t at = content_type.find(';');
  while (at != std::string_view::npos) {
    const std::size_t next = content_type.find(';', at + 1);
    const std::string_view item = content_type.substr(at + 1, next == std::string_view::npos ? next : next - at - 1);
    const auto equals = item.find('=');
    if (equals != std::string_view::npos && Lower(Trimmed(item.substr(0, equals))) == wanted) {
      std::string value = Trimmed(item.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      return Lower(value);
    }
    at = next;
  }
  return {};
}

int ItemClass(const RawHeaders& headers) {
  const std::string type = Lower(Trimmed(headers.content_type.substr(0, headers.content_type.find(';'))));
  if (type == "multipart/report") return kReportItemClass;
  if (Lower(headers.content_class) == "urn:content-classes:calendarmessage")
    return kMeetingRequestClass;
  if (type == "text/calendar" && Parameter(headers.content_type, "method") == "request")
    return kMeetingRequestClass;
  return kMailItemClass;
}

// A Maildir file name carries its flags after ":2,"; "D" marks a draft.
bool IsDraft(std::string_view file_name) {
  const auto info = file_name.rfind(":2,");
  return info != std::string_view::npos &&
         file_name.substr(info + 3).find('D') != std::string_view::npos;
}

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

std::optional<DateTime> ParseMailDate(std::string_view text) {
  if (text.empty()) return std::nullopt;
  EnsureGMimeInitialised();
  const std::string copy(text);
  GDateTime* parsed = g_mime_utils_header_decode_date(copy.c_str());
  if (!parsed) return std::nullopt;
  const long long seconds = g_date_time_to_unix(parsed);
  g_date_time_unref(parsed);
  return LocalTimeOf(seconds);
}

MessageSummary Summarize(const RawHeaders& headers, std::string_view file_name,
                         const std::function<DateTime()>& modified) {
  MessageSummary summary;
  summary.item_class = ItemClass(headers);
  const std::optional<DateTime> date = ParseMailDate(headers.date);
  summary.sent_on = date.value_or(NoDate());
  summary.sent = date && Trimmed(headers.x_unsent) != "1" && !IsDraft(file_name);
  std::optional<DateTime> received;
  if (const auto semicolon = headers.received.rfind(';'); semicolon != std::string::npos)
    received = ParseMailDate(Trimmed(std::string_view(headers.received).substr(semicolon + 1)));
  summary.received = received ? *received : date ? *date : modified();
  const std::vector<Mailbox> senders = ParseAddressList(headers.from);
  if (!senders.empty()) summary.sender_address = senders.front().address;
  summary.to = RecipientNames(ParseAddressList(headers.to));
  summary.subject = DecodeHeaderText(headers.subject);
  return summary;
}

}  // namespace qs::dirstore

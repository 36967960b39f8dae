#include "mailstore/dirstore/saveas/header_lines.h"

#include <charconv>
#include <iterator>

namespace qs::dirstore {

namespace {

void AppendMailbox(std::string& out, const Mailbox& mailbox) {
  if (mailbox.name.empty()) {
    out += mailbox.address;
  } else {
    out += mailbox.name;
    if (!mailbox.address.empty()) {
      out += " <";
      out += mailbox.address;
      out += '>';
    }
  }
}

std::string Joined(const std::vector<Mailbox>& mailboxes, bool with_addresses) {
  std::string out;
  for (const Mailbox& mailbox : mailboxes) {
    if (!out.empty()) out += "; ";
    if (with_addresses) AppendMailbox(out, mailbox);
    else out += mailbox.name.empty() ? mailbox.address : mailbox.name;
  }
  return out;
}

void AppendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

void AppendNumber(std::string& out, int value) {
  char digits[16];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), value);
  out.append(digits, end);
}

}  // namespace

std::string MailboxText(const Mailbox& mailbox) {
  std::string text;
  AppendMailbox(text, mailbox);
  return text;
}

std::string LongDate(DateTime time, const LocaleFacts& locale) {
  const CivilTime civil = ToCivil(time);
  const std::string& month = locale.month_names.at(civil.month - 1);
  std::string date = locale.day_names.at(civil.weekday);
  date += ", ";
  switch (locale.date_order) {
    case DateOrder::MonthDayYear:
      date += month;
      date += ' ';
      AppendNumber(date, civil.day);
      date += ", ";
      AppendNumber(date, civil.year);
      break;
    case DateOrder::DayMonthYear:
      AppendNumber(date, civil.day);
      date += ' ';
      date += month;
      date += ' ';
      AppendNumber(date, civil.year);
      break;
    case DateOrder::YearMonthDay:
      AppendNumber(date, civil.year);
      date += ' ';
      date += month;
      date += ' ';
      AppendNumber(date, civil.day);
      break;
  }
  date += ' ';
  const int hour = locale.clock_24h ? civil.hour : civil.hour % 12 == 0 ? 12 : civil.hour % 12;
  if (locale.clock_24h && locale.hour_leading_zero) AppendTwoDigits(date, hour);
  else AppendNumber(date, hour);
  date += locale.time_separator;
  AppendTwoDigits(date, civil.minute);
  if (!locale.clock_24h) {
    date += ' ';
    date += civil.hour < 12 ? locale.am : locale.pm;
  }
  return date;
}

void ForEachHeaderLine(const MessageContent& content, const ItemFacts& facts,
                       const HeaderLineTaker& take) {
  take("From:", Joined(content.from, true));
  if (facts.sent_on != NoDate())
    take("Sent:", LongDate(facts.sent_on, facts.locale ? *facts.locale : LocaleFacts{}));
  take("To:", Joined(content.to, false));
  if (!content.cc.empty()) take("Cc:", Joined(content.cc, false));
  take("Subject:", content.subject);
  if (!content.attachments.empty()) {
    std::string names;
    for (const MessageAttachment& attachment : content.attachments) {
      if (!names.empty()) names += "; ";
      names += attachment.file_name;
    }
    take("Attachments:", names);
  }
}

}  // namespace qs::dirstore

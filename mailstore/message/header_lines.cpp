#include "mailstore/message/header_lines.h"

#include <charconv>
#include <iterator>

namespace qs {

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

// A number's digits in the room given.
class Digits {
 public:
  explicit Digits(int value) : end_(std::to_chars(std::begin(room_), std::end(room_), value).ptr) {}
  std::string_view Text() const { return {room_, static_cast<std::size_t>(end_ - room_)}; }

 private:
  char room_[16];
  char* end_;
};

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
  const Digits day(civil.day);
  const Digits year(civil.year);
  const auto in_order = [&date](std::string_view first, std::string_view second,
                                std::string_view before_third, std::string_view third) {
    date += first;
    date += ' ';
    date += second;
    date += before_third;
    date += third;
  };
  switch (locale.date_order) {
    case DateOrder::MonthDayYear: in_order(month, day.Text(), ", ", year.Text()); break;
    case DateOrder::DayMonthYear: in_order(day.Text(), month, " ", year.Text()); break;
    case DateOrder::YearMonthDay: in_order(year.Text(), month, " ", day.Text()); break;
  }
  date += ' ';
  const int hour = locale.clock_24h ? civil.hour : civil.hour % 12 == 0 ? 12 : civil.hour % 12;
  if (locale.clock_24h && locale.hour_leading_zero) AppendTwoDigits(date, hour);
  else date += Digits(hour).Text();
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

}  // namespace qs

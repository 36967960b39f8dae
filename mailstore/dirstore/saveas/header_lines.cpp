#include "mailstore/dirstore/saveas/header_lines.h"

namespace qs::dirstore {

namespace {

std::string Joined(const std::vector<Mailbox>& mailboxes, bool with_addresses) {
  std::string out;
  for (const Mailbox& mailbox : mailboxes) {
    if (!out.empty()) out += "; ";
    out += with_addresses ? MailboxText(mailbox)
                          : (mailbox.name.empty() ? mailbox.address : mailbox.name);
  }
  return out;
}

std::string TwoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

std::string MailboxText(const Mailbox& mailbox) {
  if (mailbox.name.empty()) return mailbox.address;
  if (mailbox.address.empty()) return mailbox.name;
  return mailbox.name + " <" + mailbox.address + ">";
}

std::string LongDate(DateTime time, const LocaleFacts& locale) {
  const CivilTime civil = ToCivil(time);
  const std::string day_name = locale.day_names.at(civil.weekday);
  const std::string month = locale.month_names.at(civil.month - 1);
  const std::string day = std::to_string(civil.day);
  const std::string year = std::to_string(civil.year);
  std::string date;
  switch (locale.date_order) {
    case DateOrder::MonthDayYear: date = day_name + ", " + month + " " + day + ", " + year; break;
    case DateOrder::DayMonthYear: date = day_name + ", " + day + " " + month + " " + year; break;
    case DateOrder::YearMonthDay: date = day_name + ", " + year + " " + month + " " + day; break;
  }
  const std::string minutes = locale.time_separator + TwoDigits(civil.minute);
  if (locale.clock_24h) {
    const std::string hour =
        locale.hour_leading_zero ? TwoDigits(civil.hour) : std::to_string(civil.hour);
    return date + " " + hour + minutes;
  }
  const int hour12 = civil.hour % 12 == 0 ? 12 : civil.hour % 12;
  return date + " " + std::to_string(hour12) + minutes + " " +
         (civil.hour < 12 ? locale.am : locale.pm);
}

std::vector<HeaderLine> HeaderLines(const MessageContent& content, const ItemFacts& facts) {
  std::vector<HeaderLine> lines;
  lines.push_back({"From:", Joined(content.from, true)});
  if (facts.sent_on != NoDate()) lines.push_back({"Sent:", LongDate(facts.sent_on, facts.locale)});
  lines.push_back({"To:", Joined(content.to, false)});
  if (!content.cc.empty()) lines.push_back({"Cc:", Joined(content.cc, false)});
  lines.push_back({"Subject:", content.subject});
  if (!content.attachments.empty()) {
    std::string names;
    for (const MessageAttachment& attachment : content.attachments)
      names += (names.empty() ? "" : "; ") + attachment.file_name;
    lines.push_back({"Attachments:", names});
  }
  return lines;
}

}  // namespace qs::dirstore

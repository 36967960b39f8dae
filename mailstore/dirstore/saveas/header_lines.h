#pragma once
// The header block of the text, RTF and HTML forms, as Outlook writes it.

#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/saveas/item_facts.h"
#include "mailstore/dirstore/saveas/message_content.h"

namespace qs::dirstore {

struct HeaderLine {
  std::string_view label;  // "From:"
  std::string value;
};

// From, Sent, To, Cc, Subject and Attachments; Sent, Cc and Attachments only
// where the mail has them.
std::vector<HeaderLine> HeaderLines(const MessageContent& content, const ItemFacts& facts);

// "Tuesday, June 30, 2009 5:00 PM" in the locale's names and order.
std::string LongDate(DateTime time, const LocaleFacts& locale);

// "Name <address>", or the one of them there is.
std::string MailboxText(const Mailbox& mailbox);

}  // namespace qs::dirstore

#pragma once
// The header block of the text, RTF and HTML forms, as Outlook writes it.

#include <functional>
#include <string>
#include <string_view>

#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs {

// Calls take(label, value) for From, Sent, To, Cc, Subject and Attachments
// in turn ("From:", "Name <address>"); Sent, Cc and Attachments only where
// the mail has them.
using HeaderLineTaker = std::function<void(std::string_view label, std::string_view value)>;
void ForEachHeaderLine(const MessageContent& content, const ItemFacts& facts,
                       const HeaderLineTaker& take);

// "Tuesday, June 30, 2009 5:00 PM" in the locale's names and order.
std::string LongDate(DateTime time, const LocaleFacts& locale);

// "Name <address>", or the one of them there is.
std::string MailboxText(const Mailbox& mailbox);

}  // namespace qs

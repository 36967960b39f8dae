#pragma once
// Header fields of the MIME message files written from a message: values
// in ASCII (RFC 2047 encoded words, RFC 2231 parameters), lines folded at
// 78 characters where a blank allows and never longer than 998 octets.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mailstore/message/mailbox.h"

namespace qs::eml {

// "Name: text" and its CRLF.
std::string UnstructuredField(std::string_view name, std::string_view text);

// The mailboxes as an address list; nothing when there are none. A mailbox
// whose address is no Internet address (an Exchange one) is written as its
// name alone, an empty group, so that no address is made up for it.
std::string AddressField(std::string_view name, const std::vector<Mailbox>& mailboxes);

// "<id>"; nothing for an empty or malformed id.
std::string MessageIdField(std::string_view name, std::string_view id);

// "Tue, 30 Jun 2009 17:00:00 +0000" for seconds since 1970 in UTC.
std::string DateText(long long seconds);

// "Name: value; parameter=..." with each parameter quoted, or encoded and
// cut into numbered sections, as its text needs.
using Parameters = std::vector<std::pair<std::string, std::string>>;
std::string ParameterField(std::string_view name, std::string_view value, const Parameters& parameters);

// True for an id that may stand between angle brackets: printable ASCII
// without blanks, brackets or quotes.
bool IsPlainId(std::string_view id);

}  // namespace qs::eml

#pragma once
// Address lists of the From and To headers (RFC 5322, read leniently).

#include <string>
#include <string_view>
#include <vector>

#include "mailstore/message/mailbox.h"

namespace qs {

// The list's mailboxes, in order. Group names are dropped and their members
// kept. Display names are decoded word by word (see DecodeHeaderText).
std::vector<Mailbox> ParseAddressList(std::string_view raw);

// The address of the list's first mailbox; empty when it has none.
std::string FirstAddress(std::string_view raw);

// Display names, or addresses where there is none, joined by "; ".
std::string RecipientNames(std::string_view raw);

}  // namespace qs

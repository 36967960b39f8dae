#pragma once
// Address lists of the From and To headers (RFC 5322, read leniently).

#include <string>
#include <string_view>
#include <vector>

namespace qs::dirstore {

struct Mailbox {
  std::string name;     // decoded display name; empty when there is none
  std::string address;  // as written
};

// Group names are dropped and their members kept. Display names are decoded
// word by word (see DecodeHeaderText).
std::vector<Mailbox> ParseAddressList(std::string_view raw);

// Display names, or addresses where there is none, joined by "; ".
std::string RecipientNames(const std::vector<Mailbox>& mailboxes);

}  // namespace qs::dirstore

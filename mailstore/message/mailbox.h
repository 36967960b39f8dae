#pragma once
// One mailbox of an address list.

#include <string>

namespace qs {

struct Mailbox {
  std::string name;     // decoded display name; empty when there is none
  std::string address;  // as written
};

}  // namespace qs

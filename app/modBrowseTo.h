#pragma once

#include <string>

namespace qs {

// Opens a file or a web address with the system's default action. Whether it
// opened is not checked: a missing help page is no reason for a message.
void BrowseTo(const std::string& target);

}  // namespace qs

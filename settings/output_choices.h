#pragma once
// The output formats the Options form offers in its box: every store writes
// them all (Outlook's MIME message files are made from its message files).

#include <string>
#include <vector>

namespace qs {

std::vector<std::string> OfferedOutputFormats();

}  // namespace qs

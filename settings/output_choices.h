#pragma once
// The output formats the Options form offers in its box, as this build's
// mail store writes them: Outlook has no MIME message files to offer.

#include <string>
#include <vector>

namespace qs {

std::vector<std::string> OfferedOutputFormats();

}  // namespace qs

#pragma once
// The header block a store keeps of a mail as it arrived (a data file's
// transport headers), made fit to head the mail written anew: its MIME
// structure fields go, since the parts are written anew with their own.

#include <string>
#include <string_view>

namespace qs::eml {

// The fields with CRLF line ends, up to the block's first empty line. Lines
// that are no field and continue none are dropped, control characters become
// blanks, and a line longer than 998 octets is folded, at a blank where it
// has one. Empty when no field is left.
std::string KeptTransportHeaders(std::string_view headers);

}  // namespace qs::eml

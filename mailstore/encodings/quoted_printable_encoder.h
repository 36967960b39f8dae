#pragma once
// Text written as quoted-printable (RFC 2045): its line breaks (LF or CRLF)
// as CRLF, every other byte outside printable ASCII and every "=" escaped,
// blanks escaped at a line's end, and soft breaks that keep every line
// within 76 characters.

#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"

namespace qs {

void WriteQuotedPrintable(std::string_view text, const ByteSink& sink);
std::string QuotedPrintable(std::string_view text);

}  // namespace qs

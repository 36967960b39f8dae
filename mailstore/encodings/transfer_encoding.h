#pragma once
// The content transfer encodings of MIME parts (RFC 2045), decoded in pieces
// as they are written. The decoders are lenient, as mail readers are: what
// does not belong to an encoding is skipped or kept as it stands, never an
// error.

#include <cstdint>
#include <string_view>

#include "mailstore/encodings/byte_source.h"

namespace qs {

enum class TransferEncoding { kIdentity, kBase64, kQuotedPrintable, kUuencode };

// Of a Content-Transfer-Encoding value: 7bit, 8bit, binary, an unknown or
// missing one are kIdentity.
TransferEncoding TransferEncodingOf(std::string_view field);

// Base64 skips every byte outside its alphabet; "=" ends a group of four,
// so that pieces encoded one after another decode whole. Quoted-printable
// keeps a "=" that starts no escape or soft line break. Uuencoded data
// starts after its "begin" line, if it has one, and ends at "end".
void WriteDecoded(std::string_view body, TransferEncoding encoding, const ByteSink& sink);

// The number of bytes WriteDecoded makes, counted faster than they are made.
std::uint64_t DecodedSize(std::string_view body, TransferEncoding encoding);

}  // namespace qs

#pragma once
// The boundaries between the parts of a multipart written: "=_Q", the
// part's level of nesting and a hash of what the part holds. No line of a
// base64 or quoted-printable body starts with "--=_", nor does a header
// field written, and every multipart inside another lies at a deeper level:
// a boundary never occurs within its own part. The same part always gets the
// same boundary, so saving a mail twice gives the same bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace qs::eml {

inline constexpr std::uint64_t kHashStart = 0xcbf29ce484222325;  // FNV-1a's offset basis

// FNV-1a, 64 bits, continued from hash.
std::uint64_t HashOf(std::string_view bytes, std::uint64_t hash = kHashStart);

std::string Boundary(int level, std::uint64_t hash);

}  // namespace qs::eml

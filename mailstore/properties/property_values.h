#pragma once
// Typed readings of a bag's properties. A value of an unexpected type or size
// is read as absent: a damaged item shows what is left of it.

#include <cstdint>
#include <optional>
#include <string>

#include "mailstore/message/property_bag.h"

namespace qs {

// How the bag's older (ANSI) texts are decoded: the message's own code
// page where it names one the system knows, else this one.
struct TextDecoding {
  std::uint32_t code_page = 1252;
};

// A text property (UTF-16 or ANSI) in UTF-8. An ANSI text is decoded with
// the bag's code page (0x3FFD) where it names one, else decoding's.
std::optional<std::string> TextOf(const PropertyBag& bag, std::uint16_t id,
                                  const TextDecoding& decoding);
// The same, empty when absent.
std::string TextOr(const PropertyBag& bag, std::uint16_t id, const TextDecoding& decoding);

std::optional<std::int32_t> Int32Of(const PropertyBag& bag, std::uint16_t id);
std::optional<bool> BooleanOf(const PropertyBag& bag, std::uint16_t id);
// A time property in seconds since 1970, UTC; nothing for the "none" times
// (zero and the far future) and times before 1601.
std::optional<long long> TimeOf(const PropertyBag& bag, std::uint16_t id);
// A binary property's bytes; a text of bytes, too (older files keep some
// binary values as ANSI texts).
std::optional<std::string> BytesOf(const PropertyBag& bag, std::uint16_t id);

// The subject without the marker some files put before it: a 0x01 and a
// character that gives the length of its prefix.
std::string WithoutSubjectMarker(std::string subject);

// The code page the bag's ANSI texts are in.
std::uint32_t CodePageOf(const PropertyBag& bag, const TextDecoding& decoding);

}  // namespace qs

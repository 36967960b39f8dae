#pragma once

#include <cstdint>
#include <string_view>

namespace qs {

// The number a text begins with (sign, digits, a decimal point with digits,
// an exponent), 0 when it begins with none, rounded to a whole number with
// halves to the even one. Throws std::out_of_range outside -32768..32767.
std::int16_t LeadingWholeNumber(std::string_view text);

}  // namespace qs

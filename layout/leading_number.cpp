#include "layout/leading_number.h"

#include <stdexcept>
#include <string>

#include "platform/text.h"

namespace qs {

std::int16_t LeadingWholeNumber(std::string_view text) {
  const RoundedNumber read = ReadRoundedNumber(text, NumberExponent::kAllowed);
  if (!(read.whole >= -32768.0 && read.whole <= 32767.0))
    throw std::out_of_range("number out of range: " + std::string(text.substr(0, read.length)));
  return static_cast<std::int16_t>(read.whole);
}

}  // namespace qs

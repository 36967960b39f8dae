#include "settings/check_state_text.h"

#include "platform/text.h"

namespace qs {

namespace {

std::optional<int> AsCheckState(double whole) {
  if (whole < 0 || whole > 2) return std::nullopt;
  return static_cast<int>(whole);
}

}  // namespace

std::optional<int> CheckStateFromLeadingNumber(std::string_view text) {
  return AsCheckState(ReadRoundedNumber(TrimBlanks(text)).whole);
}

std::optional<int> CheckStateFromWholeText(std::string_view text) {
  text = TrimBlanks(text);
  const RoundedNumber read = ReadRoundedNumber(text);
  // A whole-text number ends in a digit here: "1." is none.
  if (read.length == 0 || read.length != text.size() || text.back() == '.') return std::nullopt;
  return AsCheckState(read.whole);
}

}  // namespace qs

#pragma once
// Turning a stored check-box value back into a check state (0, 1 or 2).

#include <optional>
#include <string_view>

namespace qs {

// The number the text begins with, rounded half to even; a text that does not
// begin with a number gives 0. None when the number is no check state.
std::optional<int> CheckStateFromLeadingNumber(std::string_view text);

// The whole text read as a number, blanks around it allowed, rounded half to
// even. None when the text is no number or the number no check state.
std::optional<int> CheckStateFromWholeText(std::string_view text);

}  // namespace qs

#pragma once
// The texts of one list row as the placeholder formats number them: text 1
// is the row's own text, text k+1 the text of its column k.

#include <cstdint>
#include <string>
#include <vector>

namespace qs {

class ListView;

// At most this many texts take part in a name.
inline constexpr std::size_t kMaxRowTexts = 20;

// All texts of the row, however many it holds.
std::vector<std::string> RowTexts(const ListView& list, std::int32_t row);

}  // namespace qs

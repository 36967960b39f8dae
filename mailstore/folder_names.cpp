#include "mailstore/folder_names.h"

#include <algorithm>
#include <unordered_set>

#include "platform/case_folding.h"

namespace qs {

void MakeNamesDistinct(std::vector<std::string>& names) {
  std::vector<std::string> folded(names.size());
  std::transform(names.begin(), names.end(), folded.begin(),
                 [](const std::string& name) { return FoldCase(name); });
  std::unordered_set<std::string> taken(folded.begin(), folded.end());  // and each name given out
  std::unordered_set<std::string> seen;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (seen.insert(std::move(folded[i])).second) continue;
    for (int number = 2;; ++number) {
      std::string distinct = names[i] + " (" + std::to_string(number) + ")";
      std::string distinct_folded = FoldCase(distinct);
      if (!taken.insert(distinct_folded).second) continue;
      seen.insert(std::move(distinct_folded));
      names[i] = std::move(distinct);
      break;
    }
  }
}

std::optional<std::size_t> FindName(const std::vector<std::string>& names, std::string_view wanted) {
  if (wanted.empty()) return std::nullopt;
  const std::string folded = FoldCase(wanted);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (FoldCase(names[i]) == folded) return i;
  return std::nullopt;
}

}  // namespace qs

#include "mailstore/folder_names.h"

#include <unordered_set>

#include "platform/case_folding.h"

namespace qs {

void MakeNamesDistinct(std::vector<std::string>& names) {
  std::unordered_set<std::string> taken;  // folded: every name as given, and each name given out
  for (const std::string& name : names) taken.insert(FoldCase(name));
  std::unordered_set<std::string> seen;
  for (std::string& name : names) {
    if (seen.insert(FoldCase(name)).second) continue;
    for (int number = 2;; ++number) {
      std::string distinct = name + " (" + std::to_string(number) + ")";
      std::string folded = FoldCase(distinct);
      if (!taken.insert(folded).second) continue;
      seen.insert(std::move(folded));
      name = std::move(distinct);
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

#include "save/placeholder_format.h"

namespace qs {

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  if (what.empty()) return text;
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
    result.append(text, from, at - from);
    result += with;
    from = at + what.size();
  }
  if (from == 0) return text;
  result.append(text, from, std::string::npos);
  return result;
}

std::string FillPlaceholders(const std::string& format, std::size_t count, const PlaceholderText& text) {
  std::string result = format;
  for (std::size_t k = 1; k <= count; ++k) {
    std::string placeholder = "%";
    placeholder += std::to_string(k);
    if (result.find(placeholder) != std::string::npos)
      result = ReplaceAll(std::move(result), placeholder, text(k));
  }
  return ReplaceAll(std::move(result), "%%", "%");
}

std::string FillPlaceholders(const std::string& format, const std::vector<std::string>& texts) {
  return FillPlaceholders(format, texts.size(), [&texts](std::size_t k) { return texts[k - 1]; });
}

std::vector<std::string> PlaceholderTexts(const RowTexts& texts) {
  std::vector<std::string> ordered(kFoundColumns.size());
  for (std::size_t k = 0; k < kFoundColumns.size(); ++k)
    ordered[static_cast<std::size_t>(kFoundColumns[k].placeholder - 1)] = texts[k];
  return ordered;
}

}  // namespace qs

#include "mailstore/properties/code_page.h"

#include <charconv>

#include "platform/text.h"

namespace qs {

std::optional<std::uint32_t> CodePageSetting(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::uint32_t code_page = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code_page);
  if (error != std::errc{} || end != text.data() + text.size() || !KnownCodePage(code_page))
    return std::nullopt;
  return code_page;
}

}  // namespace qs

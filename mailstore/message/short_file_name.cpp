#include "mailstore/message/short_file_name.h"

#include <cctype>

#include "platform/text.h"

namespace qs {

namespace {

std::string Cleaned(std::string_view text) {
  static constexpr std::string_view kAllowed = "_-!#$%&'()@^`{}~";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && (std::isalnum(byte) || kAllowed.find(c) != std::string_view::npos))
      out += AsciiUpper(c);
  }
  return out;
}

}  // namespace

std::string ShortFileName(std::string_view name) {
  const auto dot = name.rfind('.');
  const std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  const std::string short_stem = Cleaned(stem);
  const std::string short_extension = Cleaned(extension).substr(0, 3);
  const bool fits = short_stem.size() == stem.size() && short_stem.size() <= 8 &&
                    !short_stem.empty() && short_extension.size() == extension.size();
  std::string out = fits ? short_stem : (short_stem.empty() ? "ATT" : short_stem.substr(0, 6)) + "~1";
  if (!short_extension.empty()) out += "." + short_extension;
  return out;
}

}  // namespace qs

#include "platform/ini/utf16_units.h"

namespace qs::ini {

namespace {

// Length in bytes of the sequence that starts with lead, and its UTF-16 units.
// A stray continuation or invalid lead byte counts as one unit of its own, as
// an 8-bit code page character would.
void Sequence(unsigned char lead, std::size_t& bytes, std::size_t& units) {
  if (lead >= 0xF0 && lead < 0xF8) bytes = 4, units = 2;
  else if (lead >= 0xE0 && lead < 0xF0) bytes = 3, units = 1;
  else if (lead >= 0xC0 && lead < 0xE0) bytes = 2, units = 1;
  else bytes = 1, units = 1;
}

}  // namespace

std::size_t Utf16Length(std::string_view text) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t bytes = 0, units = 0;
    Sequence(static_cast<unsigned char>(text[i]), bytes, units);
    i += bytes;
    total += units;
  }
  return total;
}

std::string_view Utf16Prefix(std::string_view text, std::size_t units) {
  std::size_t i = 0, used = 0;
  while (i < text.size()) {
    std::size_t bytes = 0, need = 0;
    Sequence(static_cast<unsigned char>(text[i]), bytes, need);
    if (used + need > units || i + bytes > text.size()) break;
    i += bytes;
    used += need;
  }
  return text.substr(0, i);
}

}  // namespace qs::ini

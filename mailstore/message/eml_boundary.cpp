#include "mailstore/message/eml_boundary.h"

#include <array>
#include <cinttypes>
#include <cstdio>

namespace qs::eml {

std::uint64_t HashOf(std::string_view bytes, std::uint64_t hash) {
  constexpr std::uint64_t kPrime = 0x100000001b3;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kPrime;
  }
  return hash;
}

std::string Boundary(int level, std::uint64_t hash) {
  std::array<char, 48> text{};
  std::snprintf(text.data(), text.size(), "=_Q%d_%016" PRIX64, level, hash);
  return text.data();
}

}  // namespace qs::eml

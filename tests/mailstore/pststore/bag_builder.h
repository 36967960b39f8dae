#pragma once
// Property values made by hand, as a data file would hold them.

#include <cstdint>
#include <string>

#include "mailstore/pststore/memory_bag.h"

namespace qs::pststore::testing {

inline PropertyValue Unicode(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return {kUnicodeValue, bytes};
}

inline PropertyValue Ansi(std::string bytes) { return {kAnsiValue, std::move(bytes)}; }

inline PropertyValue Int32(std::uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift);
  return {kInt32Value, bytes};
}

// A time given in seconds since 1970, as the file's 100-nanosecond ticks
// since 1601.
inline PropertyValue Time(long long unix_seconds) {
  const auto ticks = static_cast<std::uint64_t>(unix_seconds + 11644473600LL) * 10000000ULL;
  std::string bytes;
  for (int shift = 0; shift < 64; shift += 8) bytes += static_cast<char>(ticks >> shift);
  return {kTimeValue, bytes};
}

inline PropertyValue Binary(std::string bytes) { return {kBinaryValue, std::move(bytes)}; }

}  // namespace qs::pststore::testing

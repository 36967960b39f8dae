#pragma once
// Finding the next of a few bytes in text where most of it holds none of
// them, and telling ASCII text, eight bytes at a time.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace qs {

// The position of the first byte at or after from that is one of Bytes;
// the text's size when there is none.
template <unsigned char... Bytes>
std::size_t FindAnyByte(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  // Non-zero when a byte of word equals c: that byte of word ^ c is zero.
  const auto holds = [](std::uint64_t word, unsigned char c) {
    const std::uint64_t zero_where_equal = word ^ (kOnes * c);
    return (zero_where_equal - kOnes) & ~zero_where_equal & kHighs;
  };
  for (; from + 8 <= text.size(); from += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + from, sizeof word);
    if ((holds(word, Bytes) | ...)) break;
  }
  for (; from < text.size(); ++from) {
    const auto byte = static_cast<unsigned char>(text[from]);
    if (((byte == Bytes) || ...)) break;
  }
  return from;
}

// True when no byte of the text is above 0x7F.
inline bool IsAscii(std::string_view text) {
  std::uint64_t seen = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, sizeof word);
    seen |= word;
  }
  for (; at < text.size(); ++at) seen |= static_cast<unsigned char>(text[at]);
  return (seen & 0x8080808080808080) == 0;
}

}  // namespace qs

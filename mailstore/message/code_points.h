#pragma once
// UTF-8 read a code point at a time from a text that comes in pieces: a
// sequence that one piece cuts is finished from the next, so the pieces read
// as the whole text would.

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace qs {

class CodePoints {
 public:
  // Calls take(c) for each code point; a byte that does not begin a valid
  // sequence reads as U+FFFD and the reading goes on after it.
  template <typename Take>
  void Read(std::string_view piece, Take&& take) {
    if (!held_.empty() && !piece.empty()) {
      // A sequence is four bytes at most, so three more always finish it.
      const std::string joined =
          held_ + std::string(piece.substr(0, std::min<std::size_t>(piece.size(), 3)));
      const std::size_t from_held = held_.size();
      held_.clear();
      std::size_t i = 0;
      while (i < from_held) {
        const char32_t c = Next(joined, i, false);
        if (c == kCut) {
          held_ = joined.substr(i);
          return;
        }
        take(c);
      }
      piece.remove_prefix(i - from_held);
    }
    for (std::size_t i = 0; i < piece.size();) {
      if (const auto byte = static_cast<unsigned char>(piece[i]); byte < 0x80) {
        take(static_cast<char32_t>(byte));  // most text is ASCII: no sequence to read
        ++i;
        continue;
      }
      const char32_t c = Next(piece, i, false);
      if (c == kCut) {
        held_ = piece.substr(i);
        return;
      }
      take(c);
    }
  }

  // True while the end of the last piece waits for the next to finish it.
  bool Holding() const { return !held_.empty(); }

  // The end of the text: a sequence still cut is invalid.
  template <typename Take>
  void Finish(Take&& take) {
    const std::string rest = std::move(held_);
    held_.clear();
    for (std::size_t i = 0; i < rest.size();) take(Next(rest, i, true));
  }

 private:
  static constexpr char32_t kCut = 0xFFFFFFFF;

  // The code point at i, or kCut for a sequence that the piece's end cuts
  // and the next piece may finish.
  static char32_t Next(std::string_view text, std::size_t& i, bool last) {
    const Utf8Sequence next = DecodeUtf8(text.substr(i));
    if (next.cut && !last) return kCut;
    i += next.bytes;
    return next.code_point;
  }

  std::string held_;
};

}  // namespace qs

#pragma once
// A form made a few bytes at a time, handed to its sink in pieces worth a
// write: neither the whole form nor a write per character.

#include <string>
#include <string_view>

#include "mailstore/dirstore/saveas/byte_source.h"

namespace qs::dirstore {

class PieceWriter {
 public:
  explicit PieceWriter(const ByteSink& sink);

  // A long text (half a piece or more), such as a body that goes out
  // unchanged, passes straight through instead of being copied.
  PieceWriter& operator+=(std::string_view bytes);
  // Inline: the forms are made one character at a time.
  PieceWriter& operator+=(char byte) {
    held_.push_back(byte);
    if (held_.size() >= kPiece) Flush();
    return *this;
  }

  // Hands over what is held; what a writer destroyed without it held is lost.
  void Flush();

 private:
  static constexpr std::size_t kPiece = 1 << 16;

  const ByteSink& sink_;
  std::string held_;
};

}  // namespace qs::dirstore

#pragma once
// A form made a few bytes at a time, handed to its sink in pieces worth a
// write: neither the whole form nor a write per character.

#include <cstddef>
#include <string_view>

#include "mailstore/encodings/byte_source.h"

namespace qs {

class PieceWriter {
 public:
  explicit PieceWriter(const ByteSink& sink);
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  // A long text (half a piece or more), such as a body that goes out
  // unchanged, passes straight through instead of being copied.
  PieceWriter& operator+=(std::string_view bytes);
  // Inline: the forms are made one character at a time.
  PieceWriter& operator+=(char byte) {
    held_[used_++] = byte;
    if (used_ == kPiece) Flush();
    return *this;
  }

  // Hands over what is held; what a writer destroyed without it held is lost.
  void Flush();

 private:
  // Held in the writer itself, not on the heap: most forms fit one piece,
  // and a form is written with no allocation for its bytes.
  static constexpr std::size_t kPiece = 32 << 10;

  const ByteSink& sink_;
  std::size_t used_ = 0;
  char held_[kPiece];
};

}  // namespace qs

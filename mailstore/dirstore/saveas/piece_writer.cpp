#include "mailstore/dirstore/saveas/piece_writer.h"

#include <algorithm>

namespace qs::dirstore {

// Most forms are a few KiB: room for them at once spares the copies of a
// buffer that grows from nothing, and a quarter of a piece is memory the
// allocator hands out again file after file, not fresh pages to fault in.
PieceWriter::PieceWriter(const ByteSink& sink) : sink_(sink) { held_.reserve(kPiece / 4); }

PieceWriter& PieceWriter::operator+=(std::string_view bytes) {
  // Half a piece is worth a write of its own, such as a decoded attachment.
  if (bytes.size() < kPiece / 2) {
    held_ += bytes;
    if (held_.size() >= kPiece) Flush();
    return *this;
  }
  Flush();
  // No sink is handed more than a piece at once, whatever it does with it.
  for (; !bytes.empty(); bytes.remove_prefix(std::min(bytes.size(), kPiece)))
    sink_(bytes.substr(0, kPiece));
  return *this;
}

void PieceWriter::Flush() {
  if (held_.empty()) return;
  sink_(held_);
  held_.clear();
}

}  // namespace qs::dirstore

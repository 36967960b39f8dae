#include "mailstore/dirstore/saveas/piece_writer.h"

#include <algorithm>

namespace qs::dirstore {

// Nothing reserved: most forms are a few KiB, and a piece's worth of memory
// for each would be fresh pages to fault in for every file.
PieceWriter::PieceWriter(const ByteSink& sink) : sink_(sink) {}

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

#include "mailstore/message/piece_writer.h"

#include <algorithm>
#include <cstring>

namespace qs {

PieceWriter::PieceWriter(const ByteSink& sink) : sink_(sink) {}

PieceWriter& PieceWriter::operator+=(std::string_view bytes) {
  // Half a piece is worth a write of its own, such as a decoded attachment.
  if (bytes.size() >= kPiece / 2) {
    Flush();
    // No sink is handed more than a piece at once, whatever it does with it.
    for (; !bytes.empty(); bytes.remove_prefix(std::min(bytes.size(), kPiece)))
      sink_(bytes.substr(0, kPiece));
    return *this;
  }
  if (bytes.size() > kPiece - used_) Flush();
  std::memcpy(held_ + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
  if (used_ == kPiece) Flush();
  return *this;
}

void PieceWriter::Flush() {
  if (used_ == 0) return;
  sink_(std::string_view(held_, used_));
  used_ = 0;
}

}  // namespace qs

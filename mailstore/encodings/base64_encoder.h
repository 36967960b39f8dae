#pragma once
// Bytes written as base64 (RFC 2045) in lines of 76 characters, each ended
// by CRLF, as MIME parts carry them; taken in pieces, so that a large
// attachment is never held whole.

#include <cstddef>
#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"

namespace qs {

class Base64Lines {
 public:
  explicit Base64Lines(const ByteSink& sink) : sink_(sink) {}
  Base64Lines(const Base64Lines&) = delete;
  Base64Lines& operator=(const Base64Lines&) = delete;

  void Write(std::string_view bytes);
  // Writes the last group, padded, and ends the last line.
  void Finish();

 private:
  void Group(const unsigned char* three, std::size_t count);

  const ByteSink& sink_;
  unsigned char carry_[3] = {};
  std::size_t carried_ = 0;
  std::string line_;
};

// The whole of source as base64 lines.
void WriteBase64Lines(const ByteSource& source, const ByteSink& sink);

}  // namespace qs

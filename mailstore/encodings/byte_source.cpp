#include "mailstore/encodings/byte_source.h"

namespace qs {

std::uint64_t ByteSource::Size() const {
  std::uint64_t size = 0;
  WriteTo([&size](std::string_view piece) { size += piece.size(); });
  return size;
}

std::string WholeBytes(const ByteSource& source) {
  std::string bytes;
  // Made twice, so that a large text is allocated once at its size instead
  // of growing into a copy of up to twice that.
  bytes.reserve(source.Size());
  source.WriteTo([&bytes](std::string_view piece) { bytes += piece; });
  return bytes;
}

}  // namespace qs

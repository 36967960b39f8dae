#include "mailstore/encodings/byte_source.h"

#include <stdexcept>

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
  const std::uint64_t size = source.Size();
  if (size > bytes.max_size()) throw std::length_error("more bytes than memory can hold");
  bytes.reserve(static_cast<std::size_t>(size));
  source.WriteTo([&bytes](std::string_view piece) { bytes += piece; });
  return bytes;
}

}  // namespace qs

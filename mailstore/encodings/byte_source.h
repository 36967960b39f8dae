#pragma once
// Bytes made in pieces where they are written, so that a large attachment is
// never held whole in memory.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qs {

// Takes the pieces in order; may throw, which ends the writing.
using ByteSink = std::function<void(std::string_view)>;

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Makes the bytes again to count them (nothing is kept between calls),
  // unless the source knows a faster way.
  virtual std::uint64_t Size() const;
  virtual void WriteTo(const ByteSink& sink) const = 0;
};

// Bytes already in memory.
class HeldBytes : public ByteSource {
 public:
  explicit HeldBytes(std::string bytes) : bytes_(std::move(bytes)) {}
  void WriteTo(const ByteSink& sink) const override { sink(bytes_); }
  std::uint64_t Size() const override { return bytes_.size(); }

 private:
  std::string bytes_;
};

// All the bytes at once, for what needs them whole. Throws std::bad_alloc
// when they cannot be held.
std::string WholeBytes(const ByteSource& source);

}  // namespace qs

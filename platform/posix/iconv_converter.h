#pragma once
// One character-set conversion of the system's iconv, open for as long as
// the converter lives. What to do with bytes it cannot convert is the
// caller's: the conversion stops there and says why.

#include <iconv.h>

#include <cstddef>
#include <functional>
#include <string_view>

namespace qs {

class IconvConverter {
 public:
  using Closer = int (*)(iconv_t);

  IconvConverter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
  // A conversion opened elsewhere (a library that keeps its converters),
  // given back through close.
  IconvConverter(iconv_t handle, Closer close) : handle_(handle), close_(close) {}
  ~IconvConverter() {
    if (Valid()) close_(handle_);
  }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // False when the system knows no such conversion.
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  enum class Stop {
    kDone,     // every byte of the input converted
    kInvalid,  // at a byte that the source charset does not define, or the target cannot hold
    kCut,      // at a sequence that the input ends in the middle of
  };
  using Sink = std::function<void(std::string_view)>;

  // Converts the input from its front, handing the output to out in pieces;
  // what it stopped at stays in input.
  Stop Convert(std::string_view& input, const Sink& out);
  // Writes out what a stateful charset still holds, and starts afresh.
  void Finish(const Sink& out);
  // Starts afresh, dropping any state.
  void Reset() { ::iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t handle_;
  Closer close_ = ::iconv_close;
};

}  // namespace qs

#include "platform/posix/iconv_converter.h"

#include <cerrno>

namespace qs {

IconvConverter::Stop IconvConverter::Convert(std::string_view& input, const Sink& out) {
  char buffer[16384];
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  for (;;) {
    char* next = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t done = ::iconv(handle_, &in, &in_left, &next, &out_left);
    const int error = errno;
    if (next != buffer) out(std::string_view(buffer, static_cast<std::size_t>(next - buffer)));
    input = std::string_view(in, in_left);
    if (done != static_cast<std::size_t>(-1)) return Stop::kDone;
    if (error == E2BIG) continue;
    return error == EINVAL ? Stop::kCut : Stop::kInvalid;
  }
}

void IconvConverter::Finish(const Sink& out) {
  char buffer[64];
  char* next = buffer;
  std::size_t out_left = sizeof buffer;
  ::iconv(handle_, nullptr, nullptr, &next, &out_left);
  if (next != buffer) out(std::string_view(buffer, static_cast<std::size_t>(next - buffer)));
  Reset();
}

}  // namespace qs

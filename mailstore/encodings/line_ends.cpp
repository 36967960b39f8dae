#include "mailstore/encodings/line_ends.h"

namespace qs {

void WriteWithCrLf(std::string_view text, const ByteSink& sink) {
  std::size_t written = 0;
  for (std::size_t feed = text.find('\n'); feed != std::string_view::npos;
       feed = text.find('\n', feed + 1)) {
    if (feed > 0 && text[feed - 1] == '\r') continue;
    if (feed > written) sink(text.substr(written, feed - written));
    sink("\r\n");
    written = feed + 1;
  }
  if (written < text.size()) sink(text.substr(written));
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  WriteWithCrLf(text, [&out](std::string_view piece) { out += piece; });
  return out;
}

}  // namespace qs

#include "mailstore/encodings/base64_encoder.h"

namespace qs {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLength = 76;

}  // namespace

void Base64Lines::Group(const unsigned char* three, std::size_t count) {
  const unsigned value = (three[0] << 16) | ((count > 1 ? three[1] : 0) << 8) | (count > 2 ? three[2] : 0);
  line_ += kAlphabet[(value >> 18) & 63];
  line_ += kAlphabet[(value >> 12) & 63];
  line_ += count > 1 ? kAlphabet[(value >> 6) & 63] : '=';
  line_ += count > 2 ? kAlphabet[value & 63] : '=';
  if (line_.size() == kLineLength) {
    line_ += "\r\n";
    sink_(line_);
    line_.clear();
  }
}

void Base64Lines::Write(std::string_view bytes) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t left = bytes.size();
  while (carried_ > 0 && carried_ < 3 && left > 0) {
    carry_[carried_++] = *in++;
    --left;
  }
  if (carried_ == 3) {
    Group(carry_, 3);
    carried_ = 0;
  }
  for (; left >= 3; in += 3, left -= 3) Group(in, 3);
  for (; left > 0; --left) carry_[carried_++] = *in++;
}

void Base64Lines::Finish() {
  if (carried_ > 0) Group(carry_, carried_);
  carried_ = 0;
  if (!line_.empty()) {
    line_ += "\r\n";
    sink_(line_);
    line_.clear();
  }
}

void WriteBase64Lines(const ByteSource& source, const ByteSink& sink) {
  Base64Lines lines(sink);
  source.WriteTo([&lines](std::string_view piece) { lines.Write(piece); });
  lines.Finish();
}

}  // namespace qs

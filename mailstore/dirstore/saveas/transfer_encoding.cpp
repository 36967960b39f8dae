#include "mailstore/dirstore/saveas/transfer_encoding.h"

#include <array>
#include <cstdint>
#include <string>

#include "platform/text.h"

namespace qs::dirstore {

namespace {

// Decoded bytes are gathered and handed on in pieces of this size.
constexpr std::size_t kPiece = 64 << 10;

class PieceBuffer {
 public:
  explicit PieceBuffer(const ByteSink& sink) : sink_(sink), bytes_(kPiece, '\0') {}
  void Add(char c) {
    bytes_[used_++] = c;
    if (used_ == kPiece) Flush();
  }
  void Flush() {
    if (used_ > 0) sink_(std::string_view(bytes_.data(), used_));
    used_ = 0;
  }

 private:
  const ByteSink& sink_;
  std::string bytes_;
  std::size_t used_ = 0;
};

constexpr std::uint8_t kNotBase64 = 0xFF;

constexpr std::array<std::uint8_t, 256> Base64Values() {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotBase64);
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  return values;
}

void WriteBase64(std::string_view body, PieceBuffer& out) {
  static constexpr auto kValues = Base64Values();
  std::uint32_t bits = 0;
  int count = 0;  // sextets in `bits`
  const auto end_group = [&] {
    // Two sextets hold one byte, three hold two; one alone holds none.
    if (count >= 2) out.Add(static_cast<char>(bits >> (6 * count - 8)));
    if (count == 3) out.Add(static_cast<char>(bits >> 2));
    bits = 0;
    count = 0;
  };
  for (const char c : body) {
    if (c == '=') {
      end_group();
      continue;
    }
    const std::uint8_t value = kValues[static_cast<unsigned char>(c)];
    if (value == kNotBase64) continue;
    bits = bits << 6 | value;
    if (++count == 4) {
      out.Add(static_cast<char>(bits >> 16));
      out.Add(static_cast<char>(bits >> 8));
      out.Add(static_cast<char>(bits));
      bits = 0;
      count = 0;
    }
  }
  end_group();
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void WriteQuotedPrintable(std::string_view body, PieceBuffer& out) {
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '=') {
      out.Add(body[i]);
      continue;
    }
    if (i + 2 < body.size() && HexValue(body[i + 1]) >= 0 && HexValue(body[i + 2]) >= 0) {
      out.Add(static_cast<char>(HexValue(body[i + 1]) << 4 | HexValue(body[i + 2])));
      i += 2;
      continue;
    }
    // A soft line break: "=", perhaps blanks, then the line end or the end.
    std::size_t after = i + 1;
    while (after < body.size() && (body[after] == ' ' || body[after] == '\t')) ++after;
    if (after < body.size() && body[after] == '\r') ++after;
    if (after == body.size() || body[after] == '\n') {
      i = after;
      continue;
    }
    out.Add('=');
  }
}

// One line of uuencoded data: a length character, then four characters for
// each three bytes.
void WriteUuencodedLine(std::string_view line, PieceBuffer& out) {
  const auto value = [](char c) { return static_cast<std::uint32_t>(c - ' ') & 0x3F; };
  std::size_t length = value(line.front());
  for (std::size_t at = 1; length > 0 && at + 1 < line.size(); at += 4) {
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 4; ++k)
      bits = bits << 6 | (at + k < line.size() ? value(line[at + k]) : 0);
    for (int shift = 16; shift >= 0 && length > 0; shift -= 8, --length)
      out.Add(static_cast<char>(bits >> shift));
  }
}

void WriteUuencoded(std::string_view body, PieceBuffer& out) {
  std::size_t at = body.starts_with("begin ") ? 0 : body.find("\nbegin ");
  at = at == std::string_view::npos ? 0 : body.find('\n', at + 1);
  while (at != std::string_view::npos && at < body.size()) {
    std::size_t feed = body.find('\n', at);
    if (feed == std::string_view::npos) feed = body.size();
    std::string_view line = body.substr(at, feed - at);
    at = feed + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == "end") break;
    if (!line.empty()) WriteUuencodedLine(line, out);
  }
}

}  // namespace

TransferEncoding TransferEncodingOf(std::string_view field) {
  const std::string name = AsciiLower(TrimBlanks(field));
  if (name == "base64") return TransferEncoding::kBase64;
  if (name == "quoted-printable") return TransferEncoding::kQuotedPrintable;
  if (name == "x-uuencode" || name == "uuencode" || name == "x-uue")
    return TransferEncoding::kUuencode;
  return TransferEncoding::kIdentity;
}

void WriteDecoded(std::string_view body, TransferEncoding encoding, const ByteSink& sink) {
  if (encoding == TransferEncoding::kIdentity) {
    if (!body.empty()) sink(body);
    return;
  }
  PieceBuffer out(sink);
  switch (encoding) {
    case TransferEncoding::kBase64: WriteBase64(body, out); break;
    case TransferEncoding::kQuotedPrintable: WriteQuotedPrintable(body, out); break;
    case TransferEncoding::kUuencode: WriteUuencoded(body, out); break;
    case TransferEncoding::kIdentity: break;
  }
  out.Flush();
}

}  // namespace qs::dirstore

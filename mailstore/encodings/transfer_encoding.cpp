#include "mailstore/encodings/transfer_encoding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "mailstore/encodings/base64_blocks.h"
#include "platform/text.h"

namespace qs {

namespace {

// Decoded bytes are gathered and handed on in pieces of this size.
constexpr std::size_t kPiece = 64 << 10;

class PieceBuffer {
 public:
  // Decoding never makes more bytes than it reads, and base64 makes three
  // of four, so a short body needs no more room than that (and a group of
  // three). The room is not cleared: only what is written to it is used.
  PieceBuffer(const ByteSink& sink, std::size_t body_size, TransferEncoding encoding)
      : sink_(sink),
        size_(std::min(kPiece, (encoding == TransferEncoding::kBase64 ? body_size / 4 * 3 : body_size) + 3)),
        bytes_(std::make_unique_for_overwrite<char[]>(size_)) {}
  void Add(char c) {
    bytes_[used_++] = c;
    if (used_ == size_) Flush();
  }
  // Room for at least `count` (at most 3) more bytes where it points.
  char* Reserve(std::size_t count) {
    if (size_ - used_ < count) Flush();
    return bytes_.get() + used_;
  }
  void Advance(std::size_t count) { used_ += count; }
  // Room left before the next flush.
  std::size_t Room() const { return size_ - used_; }
  void Flush() {
    if (used_ > 0) sink_(std::string_view(bytes_.get(), used_));
    used_ = 0;
  }

 private:
  const ByteSink& sink_;
  std::size_t size_;
  std::unique_ptr<char[]> bytes_;
  std::size_t used_ = 0;
};

constexpr std::uint8_t kNotBase64 = 0xFF;
constexpr std::uint8_t kBase64Pad = 0xFE;

constexpr std::array<std::uint8_t, 256> Base64Values() {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotBase64);
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  values['='] = kBase64Pad;
  return values;
}

constexpr auto kBase64Values = Base64Values();

// For each place in a group of four, each character's sextet already
// shifted to its place in the group's 24 bits; the top bit for a character
// that is no sextet.
constexpr std::uint32_t kNoSextet = 0x80000000;

using PlacedSextets = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr PlacedSextets PlaceSextets() {
  PlacedSextets placed{};
  for (std::size_t place = 0; place < 4; ++place)
    for (std::size_t c = 0; c < 256; ++c)
      placed[place][c] = kBase64Values[c] >= 64 ? kNoSextet
                                                : std::uint32_t{kBase64Values[c]} << (18 - 6 * place);
  return placed;
}

constexpr PlacedSextets kPlacedSextets = PlaceSextets();

// The 24 bits of the group of four characters at in; kNoSextet set when one
// of them is no sextet.
std::uint32_t GroupBits(const unsigned char* in) {
  return kPlacedSextets[0][in[0]] | kPlacedSextets[1][in[1]] | kPlacedSextets[2][in[2]] |
         kPlacedSextets[3][in[3]];
}

// Takes whole groups of four base64 characters from in, at most `most` of
// them, as long as every character is one: take(bits) for each. Says where
// it stopped.
template <typename Take>
const unsigned char* WholeGroups(const unsigned char* in, const unsigned char* end, std::size_t most,
                                 Take take) {
  for (; most > 0 && end - in >= 4; --most, in += 4) {
    const std::uint32_t bits = GroupBits(in);
    if (bits & kNoSextet) break;
    take(bits);
  }
  return in;
}

// Calls group(bits, count) for each group of sextets: four, or fewer where
// "=" or the end cuts a group short. Where a group starts, whole(in, end)
// may first take the whole groups that follow (most lines are whole groups
// of four) and says where it stopped.
template <typename Whole, typename Group>
void ForEachBase64Group(std::string_view body, Whole whole, Group group) {
  const auto* in = reinterpret_cast<const unsigned char*>(body.data());
  const auto* const end = in + body.size();
  std::uint32_t bits = 0;
  int count = 0;
  while (in < end) {
    if (count == 0) in = whole(in, end);
    if (in == end) break;
    const std::uint8_t value = kBase64Values[*in++];
    if (value == kBase64Pad) {
      if (count > 0) group(bits, count);
      bits = 0;
      count = 0;
    } else if (value != kNotBase64) {
      bits = bits << 6 | value;
      if (++count == 4) {
        group(bits, 4);
        bits = 0;
        count = 0;
      }
    }
  }
  if (count > 0) group(bits, count);
}

// Four sextets hold three bytes, three hold two, two hold one, one none.
std::size_t BytesInGroup(int sextets) { return sextets == 4 ? 3 : sextets == 1 ? 0 : sextets - 1; }

// Decodes the whole groups from in straight into the buffer, as many as it
// has room for at a time: blocks of 32 characters where the processor can,
// then pairs of groups, then single ones. A line end between whole groups
// is passed over, so that the next line is taken at once; anything else
// that is no base64 is left to the caller. Says where it stopped.
const unsigned char* WriteWholeGroups(const unsigned char* in, const unsigned char* end,
                                      PieceBuffer& out) {
  while (end - in >= 4) {
    char* at = out.Reserve(3);
    const unsigned char* const start = in;
    const std::size_t blocks = DecodeBase64Blocks(in, static_cast<std::size_t>(end - in), at, out.Room());
    in += blocks * 32;
    at += blocks * 24;
    std::size_t room = (out.Room() - blocks * 24) / 3;
    // Two groups at a time, their six bytes stored as eight: the two after
    // them are room the buffer has and the next pair overwrites.
    for (; room >= 3 && end - in >= 8; room -= 2, in += 8, at += 6) {
      const std::uint32_t first = GroupBits(in);
      const std::uint32_t second = GroupBits(in + 4);
      if ((first | second) & kNoSextet) break;
      std::uint64_t bytes = std::uint64_t{first} << 40 | std::uint64_t{second} << 16;
      if constexpr (std::endian::native == std::endian::little) bytes = __builtin_bswap64(bytes);
      std::memcpy(at, &bytes, sizeof bytes);
    }
    out.Advance(static_cast<std::size_t>(in - start) / 4 * 3);
    const unsigned char* stop = WholeGroups(in, end, room, [&at](std::uint32_t bits) {
      at[0] = static_cast<char>(bits >> 16);
      at[1] = static_cast<char>(bits >> 8);
      at[2] = static_cast<char>(bits);
      at += 3;
    });
    const auto taken = static_cast<std::size_t>(stop - in) / 4;
    out.Advance(taken * 3);
    in = stop;
    if (taken == room) continue;
    const unsigned char* after = in;
    while (after < end && (*after == '\r' || *after == '\n')) ++after;
    if (after == in) break;
    in = after;
  }
  return in;
}

void WriteBase64(std::string_view body, PieceBuffer& out) {
  const auto whole = [&out](const unsigned char* in, const unsigned char* end) {
    return WriteWholeGroups(in, end, out);
  };
  ForEachBase64Group(body, whole, [&out](std::uint32_t bits, int sextets) {
    bits <<= 6 * (4 - sextets);
    char* at = out.Reserve(3);
    at[0] = static_cast<char>(bits >> 16);
    at[1] = static_cast<char>(bits >> 8);
    at[2] = static_cast<char>(bits);
    out.Advance(BytesInGroup(sextets));
  });
}

void WriteQuotedPrintable(std::string_view body, PieceBuffer& out) {
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '=') {
      out.Add(body[i]);
      continue;
    }
    if (const std::optional<char> byte = HexByte(body.substr(i + 1))) {
      out.Add(*byte);
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

std::uint64_t DecodedSize(std::string_view body, TransferEncoding encoding) {
  std::uint64_t size = 0;
  if (encoding == TransferEncoding::kIdentity) return body.size();
  if (encoding == TransferEncoding::kBase64)
    ForEachBase64Group(
        body,
        [&size](const unsigned char* in, const unsigned char* end) {
          return WholeGroups(in, end, SIZE_MAX, [&size](std::uint32_t) { size += 3; });
        },
        [&size](std::uint32_t, int sextets) { size += BytesInGroup(sextets); });
  else
    WriteDecoded(body, encoding, [&size](std::string_view piece) { size += piece.size(); });
  return size;
}

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
  PieceBuffer out(sink, body.size(), encoding);
  switch (encoding) {
    case TransferEncoding::kBase64: WriteBase64(body, out); break;
    case TransferEncoding::kQuotedPrintable: WriteQuotedPrintable(body, out); break;
    case TransferEncoding::kUuencode: WriteUuencoded(body, out); break;
    case TransferEncoding::kIdentity: break;
  }
  out.Flush();
}

}  // namespace qs

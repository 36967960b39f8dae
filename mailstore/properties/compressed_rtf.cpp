#include "mailstore/properties/compressed_rtf.h"

#include <array>
#include <cstdint>

namespace qs {

namespace {

constexpr std::uint32_t kCompressed = 0x75465A4C;    // "LZFu"
constexpr std::uint32_t kUncompressed = 0x414C454D;  // "MELA"
constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kDictionaryBytes = 4096;

// What the dictionary holds before the first byte: the text most RTF
// documents start with.
constexpr std::string_view kPreload =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
static_assert(kPreload.size() == 207);

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string Decompress(std::string_view input, std::size_t raw_size) {
  std::array<char, kDictionaryBytes> dictionary{};
  std::copy(kPreload.begin(), kPreload.end(), dictionary.begin());
  std::size_t write = kPreload.size();
  std::string out;
  const auto put = [&](char c) {
    out += c;
    dictionary[write] = c;
    write = (write + 1) % kDictionaryBytes;
  };
  std::size_t at = 0;
  while (at < input.size() && out.size() < raw_size) {
    const auto control = static_cast<unsigned char>(input[at++]);
    for (int bit = 0; bit < 8 && at < input.size() && out.size() < raw_size; ++bit) {
      if ((control & (1 << bit)) == 0) {
        put(input[at++]);
        continue;
      }
      if (at + 1 >= input.size()) return out;
      const unsigned reference = static_cast<unsigned char>(input[at]) << 8 |
                                 static_cast<unsigned char>(input[at + 1]);
      at += 2;
      const std::size_t offset = reference >> 4;
      const std::size_t length = (reference & 0xF) + 2;
      // A reference to where the next byte would go ends the stream.
      if (offset == write) return out;
      for (std::size_t i = 0; i < length && out.size() < raw_size; ++i)
        put(dictionary[(offset + i) % kDictionaryBytes]);
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> DecompressRtf(std::string_view stored) {
  if (stored.size() < kHeaderBytes) return std::nullopt;
  // The stored size counts from after its own field.
  const std::size_t declared = LittleEndian32(stored, 0);
  const std::size_t raw_size = LittleEndian32(stored, 4);
  const std::uint32_t type = LittleEndian32(stored, 8);
  std::string_view body = stored.substr(kHeaderBytes);
  if (declared >= kHeaderBytes - 4) body = body.substr(0, declared - (kHeaderBytes - 4));
  if (type == kUncompressed) return std::string(body.substr(0, raw_size));
  if (type == kCompressed) return Decompress(body, raw_size);
  return std::nullopt;
}

}  // namespace qs

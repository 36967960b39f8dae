#include "mailstore/pststore/pst_entry_id.h"

#include <algorithm>

#include "platform/text.h"

namespace qs::pststore {

namespace {

constexpr std::size_t kPrefixBytes = 4;
constexpr std::size_t kEntryIdBytes = kPrefixBytes + 16 + 4;

std::uint32_t LittleEndian32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

}  // namespace

std::string EncodeEntryId(const ItemAddress& address) {
  std::string bytes(address.record_key.begin(), address.record_key.end());
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(address.identifier >> shift);
  std::string text(kPrefixBytes * 2 + bytes.size() * 2, '0');
  WriteHexDigits(bytes, text.data() + kPrefixBytes * 2);
  return text;
}

std::optional<ItemAddress> DecodeEntryId(std::string_view entry_id) {
  if (entry_id.size() != kEntryIdBytes * 2) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < entry_id.size(); i += 2) {
    const std::optional<char> byte = HexByte(entry_id.substr(i));
    if (!byte) return std::nullopt;
    bytes += *byte;
  }
  if (bytes.compare(0, kPrefixBytes, std::string(kPrefixBytes, '\0')) != 0) return std::nullopt;
  ItemAddress address;
  std::copy_n(bytes.begin() + kPrefixBytes, 16, address.record_key.begin());
  address.identifier = LittleEndian32(std::string_view(bytes).substr(kPrefixBytes + 16));
  return address;
}

std::optional<RecordKey> RecordKeyOf(std::string_view bytes) {
  if (bytes.size() != 16) return std::nullopt;
  RecordKey key{};
  std::copy(bytes.begin(), bytes.end(), key.begin());
  return key;
}

std::optional<std::uint32_t> IdentifierOfBinaryEntryId(std::string_view bytes) {
  if (bytes.size() != kEntryIdBytes) return std::nullopt;
  return LittleEndian32(bytes.substr(kPrefixBytes + 16));
}

}  // namespace qs::pststore

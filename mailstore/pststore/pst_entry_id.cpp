#include "mailstore/pststore/pst_entry_id.h"

#include <algorithm>

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

EntryId EncodeEntryId(const ItemAddress& address) {
  std::string bytes(kPrefixBytes, '\0');
  bytes.append(address.record_key.begin(), address.record_key.end());
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(address.identifier >> shift);
  return EntryId(std::move(bytes));
}

std::optional<ItemAddress> DecodeEntryId(const EntryId& entry_id) {
  const std::string_view bytes = entry_id.Bytes();
  if (bytes.size() != kEntryIdBytes || bytes.substr(0, kPrefixBytes) != std::string_view("\0\0\0\0", kPrefixBytes))
    return std::nullopt;
  ItemAddress address;
  std::copy_n(bytes.begin() + kPrefixBytes, 16, address.record_key.begin());
  address.identifier = LittleEndian32(bytes.substr(kPrefixBytes + 16));
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

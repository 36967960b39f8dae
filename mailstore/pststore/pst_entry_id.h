#pragma once
// Entry identifiers of items in data files, in the layout Outlook gives
// them: four zero bytes, the store's record key (16 bytes), the item's
// identifier (4 bytes, little-endian).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mailstore/entry_id.h"

namespace qs::pststore {

using RecordKey = std::array<std::uint8_t, 16>;

struct ItemAddress {
  RecordKey record_key{};
  std::uint32_t identifier = 0;
  bool operator==(const ItemAddress&) const = default;
};

EntryId EncodeEntryId(const ItemAddress& address);

// Nothing for an identifier of another layout.
std::optional<ItemAddress> DecodeEntryId(const EntryId& entry_id);

// A record key from the bytes of the store's property; nothing unless it
// has exactly 16 bytes.
std::optional<RecordKey> RecordKeyOf(std::string_view bytes);

// The item identifier an entry identifier in binary form (such as the top
// of the folder tree names) ends in, when it has the data-file layout.
std::optional<std::uint32_t> IdentifierOfBinaryEntryId(std::string_view bytes);

}  // namespace qs::pststore

#include "mailstore/entry_id.h"

#include "platform/text.h"

namespace qs {

std::optional<EntryId> EntryId::FromHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::optional<char> byte = HexByte(text.substr(i, 2));
    if (!byte) return std::nullopt;
    bytes += *byte;
  }
  return EntryId(std::move(bytes));
}

std::string EntryId::Hex() const {
  std::string text(bytes_.size() * 2, '\0');
  WriteHexDigits(bytes_, text.data());
  return text;
}

}  // namespace qs

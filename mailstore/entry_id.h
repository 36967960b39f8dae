#pragma once
// An entry identifier: the bytes by which a store finds one of its items
// again. It goes from the store to the list and from the list to the save
// as these bytes; it becomes text (upper-case hexadecimal, as Outlook shows
// its identifiers) only where it is shown, exported, used in a name or
// handed to Outlook.

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class EntryId {
 public:
  EntryId() = default;
  explicit EntryId(std::string bytes) : bytes_(std::move(bytes)) {}
  // Nothing unless the text is pairs of hexadecimal digits (either case).
  static std::optional<EntryId> FromHex(std::string_view text);

  const std::string& Bytes() const { return bytes_; }
  std::string Hex() const;
  bool Empty() const { return bytes_.empty(); }

  auto operator<=>(const EntryId&) const = default;

 private:
  std::string bytes_;
};

}  // namespace qs

#pragma once
// Entry identifiers of the directory store: the upper-case hexadecimal of
// the UTF-8 bytes of a message's path below the mail root, "/" between names.

#include <optional>
#include <string>
#include <string_view>

namespace qs::dirstore {

std::string EncodeEntryId(std::string_view relative_path);
// The identifier of the item name below the folder.
std::string EncodeEntryId(std::string_view folder, std::string_view name);

// The relative path, or nothing when the identifier is not one of ours or
// names a path that could leave the mail root ("..", absolute, empty names).
std::optional<std::string> DecodeEntryId(std::string_view entry_id);

}  // namespace qs::dirstore

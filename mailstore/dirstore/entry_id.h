#pragma once
// Entry identifiers of the directory store: the bytes of a message's path
// below the mail root, "/" between names.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/entry_id.h"

namespace qs::dirstore {

EntryId EncodeEntryId(std::string_view relative_path);
// The identifier of the item name below the folder.
EntryId EncodeEntryId(std::string_view folder, std::string_view name);

// What names the mail at relative_path from one run to the next: a
// Maildir file by its folder and its unique name (all before ":2,"), so
// that its client may change its flags and move it from new/ to cur/; any
// other file by its path. The two kinds never share an identity.
std::string ItemIdentity(std::string_view relative_path);

// The names of the folders down to the item at relative_path: every
// directory above its file but a Maildir's cur/ or new/.
std::vector<std::string> ItemFolderNames(std::string_view relative_path);

// The relative path, or nothing when the identifier is not one of ours or
// names a path that could leave the mail root ("..", absolute, empty names).
std::optional<std::string> DecodeEntryId(const EntryId& entry_id);

}  // namespace qs::dirstore

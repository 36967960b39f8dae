#pragma once
// Entry identifiers of the directory store: the bytes of a message's path
// below the mail root, "/" between names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/mbox_scan.h"
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

// A message of an mbox file, as its identifier names it: the names down to
// its folder, the hash and number of its identity (mbox_scan.h), and where
// its "From " line was, to look there first.
struct MboxEntry {
  std::string folder;
  std::uint64_t hash = 0;
  std::uint32_t number = 0;
  std::uint64_t hint = 0;
};

// The folder, a NUL (which no name holds), then the rest in text.
EntryId EncodeMboxEntryId(std::string_view folder, const MboxMessage& message);
// Nothing when the identifier is no such message's, or its folder is not
// one that DecodeEntryId would take.
std::optional<MboxEntry> DecodeMboxEntryId(const EntryId& entry_id);

// What names a message of the mbox file of folder from one run to the next:
// the folder, the hash of the message's own bytes and its number among the
// file's messages with that hash. Never an identity of any other item.
std::string MboxIdentity(std::string_view folder, std::uint64_t hash, std::uint32_t number);

}  // namespace qs::dirstore

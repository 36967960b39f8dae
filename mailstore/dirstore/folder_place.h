#pragma once
// Where a folder's mail lies. A folder is named by the names of the folders
// from the mail root down to it, each the name of what stands in its
// parent: a directory; an mbox file, whose subfolders are in the directory
// of its name and ".sbd" beside it, if there is one; or, inside a Maildir,
// a Maildir++ name (".Archive", ".Archive.2015"), whose directory lies
// beside the others in the Maildir and may not exist at all (a parent that
// exists only in its children's names).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/store_context.h"

namespace qs::dirstore {

struct FolderPlace {
  // Its own directory; none for a Maildir++ folder that exists only in a name.
  std::shared_ptr<const Directory> directory;
  // The identities of the mail root and of every directory down to it.
  std::vector<FileIdentity> lineage;
  // The Maildir whose Maildir++ folders are its subfolders, if any: the
  // folder itself, or the Maildir it is a Maildir++ folder of.
  std::shared_ptr<const Directory> maildir;
  // Its Maildir++ name; empty for the Maildir itself and any other folder.
  std::string maildir_name;
  // The mbox file that holds its messages, if any: mbox_name in mbox_directory.
  std::shared_ptr<const Directory> mbox_directory;
  std::string mbox_name;
};

// The names in relative_path, "/" between them.
std::vector<std::string> NamesOf(std::string_view relative_path);

// The folder that names lead to, opened from the mail root without
// following any link; nothing (errno telling why) when there is none.
std::optional<FolderPlace> PlaceOf(const StoreContext& store, const std::vector<std::string>& names);

// The same from the names joined by "/".
std::optional<FolderPlace> PlaceOf(const StoreContext& store, std::string_view relative_path);

}  // namespace qs::dirstore

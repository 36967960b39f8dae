#pragma once
// Where an item's bytes are read. A mail root may be a tree someone else
// made, so a link in it is followed only to a regular file inside the root:
// a link to a directory would make a folder of what is not one, or lead
// round in a circle, and a link out of the root could put any file of the
// user's into a saved message.

#include <memory>
#include <optional>
#include <string>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/store_context.h"

namespace qs::dirstore {

// The file is name below base; it is opened without following links.
struct ItemLocation {
  std::shared_ptr<const Directory> base;
  std::string name;
};

// The entry name of directory (of that kind) as an item: a regular file is
// read where it is, a file link inside the mail root from the file it leads
// to. Nothing for anything else; a link passed over is named in the
// diagnostic output.
std::optional<ItemLocation> LocateItem(const StoreContext& store,
                                       const std::shared_ptr<const Directory>& directory,
                                       std::string name, EntryKind kind);

// Names the link name of directory in the diagnostic output when it leads
// to a directory, which would otherwise have been a folder.
void NoteFolderLink(const StoreContext& store, const Directory& directory, const std::string& name);

}  // namespace qs::dirstore

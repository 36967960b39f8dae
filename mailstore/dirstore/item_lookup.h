#pragma once
// Finding an item again by its path below the mail root, as an entry
// identifier names it.

#include <optional>
#include <string>

#include "mailstore/dirstore/item_location.h"
#include "mailstore/dirstore/store_context.h"

namespace qs::dirstore {

struct FoundItem {
  std::string relative_path;  // where the item is now
  ItemLocation location;
};

// The item at relative_path. No link on the way to it is followed; the item
// itself may be a file link inside the mail root. A Maildir file whose name
// is gone is looked for by its unique name in the cur/ and new/ of the same
// folder, since a mail client renames it when its flags change and moves it
// from new/ to cur/ once seen. Nothing when there is no such item.
std::optional<FoundItem> FindItem(const StoreContext& store, const std::string& relative_path);

}  // namespace qs::dirstore

#pragma once
// Finding an item again by its path below the mail root, as an entry
// identifier names it.

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "mailstore/dirstore/item_file.h"
#include "mailstore/dirstore/item_location.h"
#include "mailstore/dirstore/store_context.h"

namespace qs::dirstore {

// Where the item is now: the file name below the folder, both below the
// mail root; and its file, opened while it was looked for, when it is a
// regular file there.
struct FoundItem {
  std::string folder;
  std::string name;
  ItemLocation location;
  std::optional<ItemFile> file;
};

// The folder of the last item found, kept open: a saved list takes its
// items folder by folder, and opening each folder name by name from the
// root again for every item cost more than the rest of finding it. Safe to
// use from several threads.
class LastFolder {
 public:
  // The folder at relative below the mail root, opened without following
  // any link; nothing (errno telling why) when there is none.
  std::shared_ptr<const Directory> Open(const StoreContext& store, const std::string& relative);

 private:
  std::mutex mutex_;
  std::string relative_;
  std::shared_ptr<const Directory> directory_;
};

// The item at relative_path. No link on the way to it is followed; the item
// itself may be a file link inside the mail root. A Maildir file whose name
// is gone is looked for by its unique name in the cur/ and new/ of the same
// folder, since a mail client renames it when its flags change and moves it
// from new/ to cur/ once seen. Nothing when there is no such item.
std::optional<FoundItem> FindItem(const StoreContext& store, const std::string& relative_path,
                                  LastFolder& last_folder);

}  // namespace qs::dirstore

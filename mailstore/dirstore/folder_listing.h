#pragma once
// What a folder of the store holds, by the store's rules: subfolders are
// its subdirectories but Maildir's cur, new and tmp and names starting with
// a dot, its mbox files (a file whose first line is a "From " line, showing
// its name without ".mbox"; a file beside a directory of its name and ".sbd",
// whose subfolders that directory holds), and a Maildir's Maildir++ folders
// (maildir_plus.h); its items are the messages of its own mbox file in the
// file's order, then its ".eml" files, then the files of cur/, then those of
// new/. Each group of files comes in byte order of the names; subfolders in
// byte order of the names they show. Links are treated as item_location.h says.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/folder_place.h"
#include "mailstore/dirstore/item_location.h"
#include "mailstore/dirstore/mbox_file.h"
#include "mailstore/dirstore/store_context.h"

namespace qs::dirstore {

struct ListedItem {
  std::string name;  // below the folder: "a.eml", "cur/b:2,S"; empty for a message of the mbox file
  ItemLocation location;
  std::optional<MboxMessage> message;  // where a message of the mbox file lies in it
};

struct FolderListing {
  std::vector<std::string> subfolders;  // the names in the folder path (folder_place.h)
  std::vector<std::string> shown;       // the names they show, one for each (shown_names.h)
  std::vector<ListedItem> items;
  std::shared_ptr<const MboxFile> mbox;  // the folder's mbox file, read from its messages
};

// A folder's listing with what its items need to be read, made once and
// shared by all of them: an item keeps this and its place in it.
struct ListedFolder {
  SharedContext context;
  std::string relative_path;  // the folder's, below the mail root
  FolderListing listing;

  // The folder of a single item found by its path: name, a file of the
  // folder at relative_path, read from location.
  static std::shared_ptr<const ListedFolder> OfItem(SharedContext context, std::string relative_path,
                                                    std::string name, ItemLocation location);
  // The folder of a single message of an mbox file, found by its identifier.
  static std::shared_ptr<const ListedFolder> OfMessage(SharedContext context, std::string relative_path,
                                                       ItemLocation location, std::shared_ptr<const MboxFile> mbox,
                                                       const MboxMessage& message);
};

// What a listing reads: a parent listed only for its subfolders' names
// reads no mail.
enum class ListingDepth { Everything, FoldersOnly };

// The folder at place. A subdirectory that is one of the directories of its
// lineage (a mount of a folder inside itself) is no subfolder, so no walk
// goes round in a circle. Throws MailStoreError when a directory cannot be
// read.
FolderListing ListFolder(const StoreContext& store, const FolderPlace& place,
                         ListingDepth depth = ListingDepth::Everything);

// The top-level folders: the mail root's, or the one Maildir that is the
// mail root.
FolderListing ListTop(const StoreContext& store);

}  // namespace qs::dirstore

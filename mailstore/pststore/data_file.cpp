#include "mailstore/pststore/data_file.h"

#include <functional>

#include "mailstore/folder_names.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/property_ids.h"

namespace qs::pststore {

namespace {

// A folder tree deeper than this is damaged or made to hurt.
constexpr std::size_t kDeepestFolder = 64;

// An offline store has no entry for the top of its tree: it is the folder
// IPM_SUBTREE under the root, directly or one level down (a mailbox's
// beside a public folders' one, which has no subfolders).
std::shared_ptr<SharedItem> SubtreeBelow(const SharedItem& root, const TextDecoding& decoding) {
  // Looking for it passes over folders that cannot be read.
  const auto SubfolderCount = [](const SharedItem& folder) {
    try {
      return pststore::SubfolderCount(folder);
    } catch (const MailStoreError&) {
      return 0;
    }
  };
  std::shared_ptr<SharedItem> found;
  const auto consider = [&](const std::shared_ptr<SharedItem>& folder) {
    if (!folder || FolderName(*folder, decoding) != "IPM_SUBTREE") return false;
    if (!found || (SubfolderCount(*found) == 0 && SubfolderCount(*folder) > 0)) found = folder;
    return SubfolderCount(*found) > 0;
  };
  const int count = SubfolderCount(root);
  for (int i = 0; i < count; ++i)
    if (consider(SubfolderAt(root, i))) return found;
  for (int i = 0; i < count; ++i) {
    const std::shared_ptr<SharedItem> child = SubfolderAt(root, i);
    if (!child) continue;
    const int grandchildren = SubfolderCount(*child);
    for (int j = 0; j < grandchildren; ++j)
      if (consider(SubfolderAt(*child, j))) return found;
  }
  return found;
}

template <typename Get>
std::shared_ptr<SharedItem> Child(const SharedItem& parent, int index, Get get) {
  auto child = std::make_shared<SharedItem>(SharedItem{parent.file, PffItem()});
  PffError error;
  if (get(parent.item.Get(), index, child->item.Out(), error.Out()) != 1) return nullptr;
  return child;
}

// A folder whose count cannot be read cannot be listed: the mail in it
// would be left out in silence.
template <typename Count>
int CountOf(const SharedItem& parent, Count count, const char* what) {
  int number = 0;
  PffError error;
  if (count(parent.item.Get(), &number, error.Out()) != 1)
    ThrowPffError(std::string("cannot count the ") + what + " of a folder", error);
  return std::max(number, 0);
}

}  // namespace

Subfolders SubfoldersOf(const SharedItem& folder, const TextDecoding& decoding) {
  Subfolders subfolders;
  const int count = SubfolderCount(folder);
  for (int i = 0; i < count; ++i) {
    auto subfolder = SubfolderAt(folder, i);
    if (!subfolder)
      throw MailStoreError("cannot open subfolder " + std::to_string(i + 1) + " of " + std::to_string(count) +
                           " of the folder \"" + FolderName(folder, decoding) + "\"");
    subfolders.names.push_back(FolderName(*subfolder, decoding));
    subfolders.folders.push_back(std::move(subfolder));
  }
  MakeNamesDistinct(subfolders.names);
  return subfolders;
}

std::string FolderName(const SharedItem& folder, const TextDecoding& decoding) {
  try {
    return TextOr(PffItemBag(folder), kDisplayName, decoding);
  } catch (const MailStoreError&) {
    return {};
  }
}

int SubfolderCount(const SharedItem& folder) {
  return CountOf(folder, libpff_folder_get_number_of_sub_folders, "subfolders");
}

int MessageCount(const SharedItem& folder) {
  return CountOf(folder, libpff_folder_get_number_of_sub_messages, "messages");
}

std::shared_ptr<SharedItem> SubfolderAt(const SharedItem& folder, int index) {
  return Child(folder, index, libpff_folder_get_sub_folder);
}

std::shared_ptr<SharedItem> MessageAt(const SharedItem& folder, int index) {
  return Child(folder, index, libpff_folder_get_sub_message);
}

DataFile::DataFile(std::string path, std::uint32_t fallback_code_page)
    : path_(std::move(path)),
      file_(std::make_shared<const PffFile>(path_)),
      locale_(std::make_shared<const LocaleFacts>(CurrentLocaleFacts())) {
  decoding_.code_page = fallback_code_page;
  const auto store = std::make_shared<SharedItem>(SharedItem{file_, file_->MessageStore()});
  std::optional<RecordKey> key;
  if (store->item) {
    try {
      const PffItemBag bag(*store);
      decoding_.code_page = CodePageOf(bag, decoding_);
      display_name_ = TextOr(bag, kDisplayName, decoding_);
      if (const auto bytes = BytesOf(bag, kRecordKey)) key = RecordKeyOf(*bytes);
      if (const auto top = BytesOf(bag, kTopOfPersonalFolders))
        top_ = IdentifierOfBinaryEntryId(*top).value_or(0);
    } catch (const MailStoreError&) {
      // A store whose own properties are damaged still has its folders.
    }
  }
  if (!key) throw MailStoreError("the data file " + path_ + " has no record key");
  record_key_ = *key;
}

std::shared_ptr<SharedItem> DataFile::TopFolder() const {
  if (top_ != 0)
    if (auto top = Item(top_)) return top;
  const SharedItem root{file_, file_->RootFolder()};
  auto subtree = SubtreeBelow(root, decoding_);
  if (!subtree) throw MailStoreError("the data file " + path_ + " has no folder tree");
  return subtree;
}

std::shared_ptr<SharedItem> DataFile::Item(std::uint32_t identifier) const {
  PffItem item = file_->ItemByIdentifier(identifier);
  if (!item) return nullptr;
  return std::make_shared<SharedItem>(SharedItem{file_, std::move(item)});
}

std::optional<DataFile::ListedFolder> DataFile::FindListed(const std::string& path,
                                                          const std::string& store_name) const {
  // Down from the top, into each subfolder whose path begins the one looked
  // for: a name may hold a backslash, so more than one may.
  std::optional<ListedFolder> found;
  const std::function<bool(const SharedItem&, const FolderPlace&)> down = [&](const SharedItem& folder,
                                                                              const FolderPlace& place) {
    const std::string here = FolderPathOf(place.names);
    if (here == path) {
      ListedFolder listed{place, {}};
      const int messages = MessageCount(folder);
      for (int i = 0; i < messages; ++i)
        if (const auto item = MessageAt(folder, i)) listed.messages.insert(PffIdentifier(item->item.Get()));
      found = std::move(listed);
      return true;
    }
    if (place.names.size() > kDeepestFolder || !path.starts_with(here + '\\')) return false;
    const Subfolders subfolders = SubfoldersOf(folder, decoding_);
    for (std::size_t i = 0; i < subfolders.folders.size(); ++i) {
      const SharedItem& child = *subfolders.folders[i];
      FolderPlace below{place.names, PffIdentifier(child.item.Get())};
      below.names.push_back(subfolders.names[i]);
      if (down(child, below)) return true;
    }
    return false;
  };
  try {
    const auto top = TopFolder();
    down(*top, FolderPlace{{store_name}, PffIdentifier(top->item.Get())});
  } catch (const MailStoreError&) {
    return std::nullopt;  // the walk of the whole tree has the last word
  }
  return found;
}

std::optional<FolderPlace> DataFile::FolderOf(std::uint32_t message, const std::string& store_name,
                                              const std::string& listed_folder) const {
  const std::lock_guard lock(index_lock_);
  if (!listed_folder.empty()) {
    auto [listed, added] = listed_.try_emplace(listed_folder);
    if (added) listed->second = FindListed(listed_folder, store_name);
    if (listed->second && listed->second->messages.contains(message)) return listed->second->place;
  }
  if (!folder_of_message_) {
    std::map<std::uint32_t, FolderPlace> index;
    const std::function<void(const SharedItem&, FolderPlace&)> walk =
        [&](const SharedItem& folder, FolderPlace& place) {
          // A folder that cannot be read ended the search that listed the
          // items: none of them lies in it or below it.
          try {
            const int messages = MessageCount(folder);
            for (int i = 0; i < messages; ++i)
              if (const auto item = MessageAt(folder, i)) index.emplace(PffIdentifier(item->item.Get()), place);
          } catch (const MailStoreError&) {
            return;
          }
          if (place.names.size() > kDeepestFolder) return;
          Subfolders subfolders;
          try {
            subfolders = SubfoldersOf(folder, decoding_);
          } catch (const MailStoreError&) {
            return;
          }
          for (std::size_t i = 0; i < subfolders.folders.size(); ++i) {
            const SharedItem& child = *subfolders.folders[i];
            FolderPlace below{place.names, PffIdentifier(child.item.Get())};
            below.names.push_back(subfolders.names[i]);
            walk(child, below);
          }
        };
    const auto top = TopFolder();
    FolderPlace place{{store_name}, PffIdentifier(top->item.Get())};
    walk(*top, place);
    folder_of_message_ = std::move(index);
  }
  const auto found = folder_of_message_->find(message);
  if (found == folder_of_message_->end()) return std::nullopt;
  return found->second;
}

}  // namespace qs::pststore

#pragma once
// One opened data file and what every folder and item of it shares.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "mailstore/pststore/pff_bags.h"
#include "mailstore/properties/property_values.h"
#include "mailstore/pststore/pst_entry_id.h"
#include "platform/locale.h"

namespace qs::pststore {

// Where a folder is: its names from the store's down, and its identifier.
struct FolderPlace {
  std::vector<std::string> names;
  std::uint32_t identifier = 0;
};

class DataFile {
 public:
  // Throws MailStoreError naming the file when it cannot be read.
  DataFile(std::string path, std::uint32_t fallback_code_page);

  const std::string& Path() const { return path_; }
  const std::shared_ptr<const PffFile>& File() const { return file_; }
  // The store's display name; empty when it has none.
  const std::string& DisplayName() const { return display_name_; }
  const RecordKey& Key() const { return record_key_; }
  const TextDecoding& Decoding() const { return decoding_; }
  // The names and patterns that saved forms write dates with, read once:
  // they stay the same while the file is open.
  const std::shared_ptr<const LocaleFacts>& Locale() const { return locale_; }

  // The top of the folder tree the user sees.
  std::shared_ptr<SharedItem> TopFolder() const;
  std::shared_ptr<SharedItem> Item(std::uint32_t identifier) const;
  // The folder that holds the message, below the top. Nothing when no
  // folder holds it. listed_folder: the path ("\\Store\A") of the folder a
  // search listed the message in, or empty. That folder is looked in first,
  // its messages once; the whole tree is walked only for a message that is
  // not there, once, on the first such call.
  std::optional<FolderPlace> FolderOf(std::uint32_t message, const std::string& store_name,
                                      const std::string& listed_folder = {}) const;

 private:
  std::string path_;
  std::shared_ptr<const PffFile> file_;
  std::string display_name_;
  RecordKey record_key_{};
  TextDecoding decoding_;
  std::shared_ptr<const LocaleFacts> locale_;
  std::uint32_t top_ = 0;
  // A folder found by its path, with its messages.
  struct ListedFolder {
    FolderPlace place;
    std::unordered_set<std::uint32_t> messages;
  };
  std::optional<ListedFolder> FindListed(const std::string& path, const std::string& store_name) const;

  mutable std::mutex index_lock_;
  mutable std::optional<std::map<std::uint32_t, FolderPlace>> folder_of_message_;
  mutable std::map<std::string, std::optional<ListedFolder>> listed_;  // by path
};

// A folder's name, as the folder holds it.
std::string FolderName(const SharedItem& folder, const TextDecoding& decoding);

// The subfolders libpff can open, in the file's order, with their names
// made distinct where siblings share one.
struct Subfolders {
  std::vector<std::shared_ptr<SharedItem>> folders;
  std::vector<std::string> names;
};
Subfolders SubfoldersOf(const SharedItem& folder, const TextDecoding& decoding);

// The subfolders of a folder and the messages in it; libpff's count.
int SubfolderCount(const SharedItem& folder);
int MessageCount(const SharedItem& folder);
// Null when libpff cannot read it.
std::shared_ptr<SharedItem> SubfolderAt(const SharedItem& folder, int index);
std::shared_ptr<SharedItem> MessageAt(const SharedItem& folder, int index);

}  // namespace qs::pststore

#pragma once
// What a directory of the store holds, by the store's rules: subfolders are
// its subdirectories but Maildir's cur, new and tmp and names starting with
// a dot; its items are its ".eml" files, then the files of cur/, then those of
// new/. Each group comes in byte order of the names.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::dirstore {

struct FolderListing {
  std::vector<std::string> subfolders;
  std::vector<std::string> items;  // paths below the folder: "a.eml", "cur/b:2,S"
};

// Throws MailStoreError when the directory cannot be read.
FolderListing ListFolder(const std::filesystem::path& directory);

// The position of the name that equals wanted without regard to letter case.
std::optional<std::size_t> FindName(const std::vector<std::string>& names, std::string_view wanted);

}  // namespace qs::dirstore

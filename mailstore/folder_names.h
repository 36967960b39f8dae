#pragma once
// A folder's two path forms from the names of the folders down to it: the
// folder path "\\Store\Folder" and the full path "//Store/Folder"; and
// sibling folders named without regard to letter case, as Windows names
// files.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

inline std::string FolderPathOf(const std::vector<std::string>& names) {
  std::string path = "\\";
  for (const std::string& name : names) path += "\\" + name;
  return path;
}

inline std::string FullPathOf(std::string folder_path) {
  for (char& c : folder_path)
    if (c == '\\') c = '/';
  return folder_path;
}

// The position of the name that equals wanted without regard to letter case.
std::optional<std::size_t> FindName(const std::vector<std::string>& names, std::string_view wanted);

// Sibling folders whose names are the same but for letter case get distinct
// names, so that each can be named: a later "Inbox" becomes "Inbox (2)", or
// the next number that no sibling's name has. In place, the siblings in
// their store's order, so the same folders get the same names every time.
void MakeNamesDistinct(std::vector<std::string>& names);

}  // namespace qs

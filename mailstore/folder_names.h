#pragma once
// A folder's two path forms from the names of the folders down to it: the
// folder path "\\Store\Folder" and the full path "//Store/Folder".

#include <string>
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

}  // namespace qs

#pragma once
// The subdirectory below the save directory that repeats where an item lies
// below the searched mail folder.

#include <string>

namespace qs {

// The item's folder path (its folder's FullPath) from character L + 1 on,
// L being the length of the mail folder text (the cut goes by length alone),
// without "/" at either end and with the remaining "/" turned into the file
// system's separator. Empty for an item of the searched folder itself.
std::string ItemSubfolder(const std::string& mail_folder, const std::string& folder_path);

std::string StripLeading(std::string text, char c);
std::string StripTrailing(std::string text, char c);

}  // namespace qs

#include "mailstore/dirstore/folder_listing.h"

#include <glib.h>

#include <algorithm>

#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

namespace fs = std::filesystem;

bool EndsWithEml(std::string_view name) {
  if (name.size() < 4) return false;
  std::string suffix(name.substr(name.size() - 4));
  for (char& c : suffix)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return suffix == ".eml";
}

template <class Visit>
void ForEachEntry(const fs::path& directory, Visit visit) {
  std::error_code error;
  fs::directory_iterator it(directory, error);
  if (error) throw MailStoreError("cannot read the folder " + directory.string() + ": " + error.message());
  for (const fs::directory_entry& entry : it) visit(entry);
}

std::vector<std::string> Files(const fs::path& directory) {
  std::vector<std::string> names;
  ForEachEntry(directory, [&](const fs::directory_entry& entry) {
    std::error_code error;
    if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
  });
  std::sort(names.begin(), names.end());
  return names;
}

std::string CaseFolded(std::string_view text) {
  gchar* folded = g_utf8_casefold(text.data(), static_cast<gssize>(text.size()));
  std::string out(folded);
  g_free(folded);
  return out;
}

}  // namespace

FolderListing ListFolder(const fs::path& directory) {
  FolderListing listing;
  bool has_cur = false;
  bool has_new = false;
  ForEachEntry(directory, [&](const fs::directory_entry& entry) {
    std::string name = entry.path().filename().string();
    std::error_code error;
    if (entry.is_directory(error)) {
      if (name == "cur") has_cur = true;
      else if (name == "new") has_new = true;
      else if (name != "tmp" && name.front() != '.') listing.subfolders.push_back(std::move(name));
    } else if (EndsWithEml(name) && entry.is_regular_file(error)) {
      listing.items.push_back(std::move(name));
    }
  });
  std::sort(listing.subfolders.begin(), listing.subfolders.end());
  std::sort(listing.items.begin(), listing.items.end());
  for (const auto& [present, sub] : {std::pair{has_cur, "cur"}, std::pair{has_new, "new"}}) {
    if (!present) continue;
    for (const std::string& file : Files(directory / sub))
      listing.items.push_back(std::string(sub) + "/" + file);
  }
  return listing;
}

std::optional<std::size_t> FindName(const std::vector<std::string>& names, std::string_view wanted) {
  if (wanted.empty()) return std::nullopt;
  const std::string folded = CaseFolded(wanted);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (CaseFolded(names[i]) == folded) return i;
  return std::nullopt;
}

}  // namespace qs::dirstore

#pragma once
// The names one save run has given out, so that no item or attachment
// takes the place of another written in the same run. What earlier runs
// left is the caller's to judge, through the names it finds usable.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace qs {

class NameClaims {
 public:
  // A name for a new entry of the directory dir, made of stem and extension.
  // The first claim of a name keeps it; later claims of the same name in the
  // same directory (letters compared without regard to case, as Windows
  // compares names) get " (2)", " (3)"... before the extension. The stem is
  // cut between characters so that the whole name fits the file system's
  // limit. A directory's name also loses trailing blanks and dots.
  // A name for which usable says false is passed over as if claimed.
  std::string Claim(const std::string& dir, std::string_view stem, std::string_view extension,
                    bool directory = false,
                    const std::function<bool(const std::string&)>& usable = nullptr);
  // Claims a name given whole (one an earlier run gave the same mail);
  // false when this run has claimed it already.
  bool Take(const std::string& dir, const std::string& name);

 private:
  using Names = std::unordered_set<std::string>;
  // The names claimed in each directory, folded, by the directory's folded
  // path.
  std::unordered_map<std::string, Names> claimed_;
  // The directory of the last claim as it was given, and its names: a list
  // is saved folder by folder.
  std::string last_dir_;
  Names* last_names_ = nullptr;
  Names& NamesOf(const std::string& dir);
};

// A file name split before its last dot; a leading dot starts no extension.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name);

// The text with its letters in one case, for comparing names as Windows does
// (Latin, Greek and Cyrillic letters; others compare as they are).
std::string FoldCase(std::string_view text);

}  // namespace qs

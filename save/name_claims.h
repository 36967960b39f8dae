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
  // same directory (letters compared without regard to case, by their
  // Unicode case folding) get " (2)", " (3)"... before the extension. The
  // stem is cut between characters so that the whole name fits the file
  // system's limit. A directory's name also loses trailing blanks and dots.
  // A name for which usable says false is passed over as if claimed, and
  // stays passed over for later claims of the same stem and count. Each
  // claim costs the same however many came before it with that stem: the
  // count goes on from the last number given. Claims that pass over names
  // for reasons of their own keep a count apart (count 1, 2...).
  std::string Claim(const std::string& dir, std::string_view stem, std::string_view extension,
                    bool directory = false,
                    const std::function<bool(const std::string&)>& usable = nullptr, int count = 0);
  // Claims a name given whole (one an earlier run gave the same mail);
  // false when this run has claimed it already.
  bool Take(const std::string& dir, const std::string& name);

 private:
  struct DirectoryClaims {
    std::unordered_set<std::string> names;  // folded
    // The next number to try, by the folded stem and extension asked for.
    std::unordered_map<std::string, int> next;
  };
  // By the directory's folded path.
  std::unordered_map<std::string, DirectoryClaims> claimed_;
  // The directory of the last claim as it was given, and its claims: a
  // list is saved folder by folder.
  std::string last_dir_;
  DirectoryClaims* last_claims_ = nullptr;
  DirectoryClaims& ClaimsOf(const std::string& dir);
};

// A file name split before its last dot; a leading dot starts no extension.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name);

}  // namespace qs

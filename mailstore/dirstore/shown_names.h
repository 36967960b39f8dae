#pragma once
// The names folders show. A directory whose name a sibling shares but for
// letter case shows a numbered name ("Inbox (2)"), as MakeNamesDistinct
// gives it, so that each folder can be named; every other one shows its own
// name. The search meets each folder through its parent's listing; an item
// fetched by its path learns its folders' names here, from each parent's
// listing read once per store.

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace qs::dirstore {

struct StoreContext;

// Safe to use from several threads.
class ShownNames {
 public:
  // The names the folders down to names (directory names from the mail
  // root) show. A parent that cannot be listed renames nothing: the item
  // below it is not found either.
  std::vector<std::string> Of(const StoreContext& store, const std::vector<std::string>& names);

 private:
  // A parent's subdirectories that show a name other than their own.
  using Renamed = std::unordered_map<std::string, std::string>;
  const Renamed& RenamedBelow(const StoreContext& store, const std::vector<std::string>& names,
                              std::size_t depth);

  std::mutex mutex_;
  std::unordered_map<std::string, Renamed> parents_;  // by the parent's path below the mail root
};

}  // namespace qs::dirstore

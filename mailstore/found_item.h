#pragma once
// A found item: one mail item the search listed, as the texts the list shows.
// The column table below is the one place that says which columns the list
// has, in which order, under which header, which placeholder of a name or
// export format stands for each, and which of them a name clips.

#include <array>
#include <cstddef>
#include <string>

namespace qs {

struct FoundItem {
  std::string sent;
  std::string from;
  std::string subject;
  std::string to;
  std::string received;
  std::string entry_id;
  std::string folder;
  std::string latest;
};

// How a saved item's name shortens a column's text.
enum class NameClip { Whole, Address, Subject };

struct FoundColumn {
  const char* header;
  std::string FoundItem::*field;
  int placeholder;  // "%k" in a name or export format
  NameClip clip;
};

inline constexpr std::array<FoundColumn, 8> kFoundColumns{{
    {"Sent", &FoundItem::sent, 1, NameClip::Whole},
    {"From", &FoundItem::from, 2, NameClip::Address},
    {"Subject", &FoundItem::subject, 3, NameClip::Subject},
    {"To", &FoundItem::to, 4, NameClip::Address},
    {"Received", &FoundItem::received, 5, NameClip::Whole},
    {"EntryID", &FoundItem::entry_id, 6, NameClip::Whole},
    {"Folder", &FoundItem::folder, 7, NameClip::Whole},
    {"LatestTime", &FoundItem::latest, 8, NameClip::Whole},
}};

namespace found_columns_detail {
// Placeholders are %1 to %N, each once.
constexpr bool PlaceholdersAreOneToN() {
  std::array<bool, kFoundColumns.size()> seen{};
  for (const FoundColumn& column : kFoundColumns) {
    const int k = column.placeholder;
    if (k < 1 || k > static_cast<int>(kFoundColumns.size()) || seen[static_cast<std::size_t>(k - 1)])
      return false;
    seen[static_cast<std::size_t>(k - 1)] = true;
  }
  return true;
}
}  // namespace found_columns_detail
static_assert(found_columns_detail::PlaceholdersAreOneToN());

// Where the search puts what it finds, in list order.
class FoundItemSink {
 public:
  virtual void Clear() = 0;
  virtual void Add(FoundItem item) = 0;

 protected:
  ~FoundItemSink() = default;
};

}  // namespace qs

#pragma once
// A found item: one mail item the search listed. The column table below is
// the one place that says which columns the list has, in which order, under
// which header, which field of the found item each shows, which placeholder
// of a name or export format stands for it, and which of them a name clips.
// The list's model keeps and shows rows by this table alone; to add a
// column, add its field here, its row to the table, and fill the field in
// the search.

#include <array>
#include <cstddef>
#include <string>
#include <variant>

#include "mailstore/date_text.h"
#include "mailstore/date_time.h"
#include "mailstore/entry_id.h"
#include "platform/locale.h"

namespace qs {

struct FoundItem {
  DateTime sent;
  std::string from;
  std::string subject;
  std::string to;
  DateTime received;
  EntryId entry_id;
  std::string folder;
  DateTime latest;
};

// How one search shows its dates: the date format and the locale of that
// search, kept with what it found, so that a later change of the format
// changes nothing already listed.
struct DateStyle {
  DateStyle() : DateStyle("", {}) {}
  DateStyle(std::string date_format, LocaleFacts facts)
      : format(std::move(date_format)), locale(std::move(facts)), pattern(format) {}
  std::string format;
  LocaleFacts locale;
  DatePattern pattern;  // the format, read once
};

// How a saved item's name shortens a column's text.
enum class NameClip { Whole, Address, Subject };

// A text column's texts are kept as they are, or, where they repeat from row
// to row (a folder's rows all have its path), once for the rows that share
// them.
enum class Repeats { No, Yes };

using TextField = std::string FoundItem::*;
using DateField = DateTime FoundItem::*;
using IdField = EntryId FoundItem::*;

struct FoundColumn {
  const char* header;
  // A date shows in the search's date style, an identifier as hexadecimal.
  std::variant<TextField, DateField, IdField> field;
  int placeholder;  // "%k" in a name or export format
  NameClip clip = NameClip::Whole;
  Repeats repeats = Repeats::No;
};

inline constexpr std::array<FoundColumn, 8> kFoundColumns{{
    {"Sent", &FoundItem::sent, 1},
    {"From", &FoundItem::from, 2, NameClip::Address},
    {"Subject", &FoundItem::subject, 3, NameClip::Subject},
    {"To", &FoundItem::to, 4, NameClip::Address},
    {"Received", &FoundItem::received, 5},
    {"EntryID", &FoundItem::entry_id, 6},
    {"Folder", &FoundItem::folder, 7, NameClip::Whole, Repeats::Yes},
    {"LatestTime", &FoundItem::latest, 8},
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

// The text a column shows for the item.
std::string ColumnText(const FoundColumn& column, const FoundItem& item, const DateStyle& dates);

// An item's texts as the list shows them, in column order.
using RowTexts = std::array<std::string, kFoundColumns.size()>;
RowTexts ColumnTexts(const FoundItem& item, const DateStyle& dates);

// Where the search puts what it finds, in list order.
class FoundItemSink {
 public:
  // Empties the list for a search whose dates show in this style.
  virtual void Start(DateStyle dates) = 0;
  virtual void Add(const FoundItem& item) = 0;
  // Once the search has finished: what it passed over as no mail, by kind
  // ("passed over: 1 meeting request, 2 reports"); empty for nothing.
  virtual void PassedOver(std::string kinds) = 0;

 protected:
  ~FoundItemSink() = default;
};

}  // namespace qs

#pragma once
// A found item: one mail item the search listed. The column table below is
// the one place that says which columns the list has, in which order, under
// which header, how each shows its value, which placeholder of a name or
// export format stands for it, and which of them a name clips.

#include <array>
#include <cstddef>
#include <string>

#include "mailstore/date_text.h"
#include "mailstore/date_time.h"
#include "platform/locale.h"

namespace qs {

struct FoundItem {
  DateTime sent;
  std::string from;
  std::string subject;
  std::string to;
  DateTime received;
  std::string entry_id;
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

struct FoundColumn {
  const char* header;
  // The text the list shows, the export writes and a name is made from.
  std::string (*text)(const FoundItem& item, const DateStyle& dates);
  int placeholder;  // "%k" in a name or export format
  NameClip clip;
};

std::string DateText(DateTime time, const DateStyle& dates);

inline constexpr std::array<FoundColumn, 8> kFoundColumns{{
    {"Sent", [](const FoundItem& i, const DateStyle& d) { return DateText(i.sent, d); }, 1,
     NameClip::Whole},
    {"From", [](const FoundItem& i, const DateStyle&) { return i.from; }, 2, NameClip::Address},
    {"Subject", [](const FoundItem& i, const DateStyle&) { return i.subject; }, 3,
     NameClip::Subject},
    {"To", [](const FoundItem& i, const DateStyle&) { return i.to; }, 4, NameClip::Address},
    {"Received", [](const FoundItem& i, const DateStyle& d) { return DateText(i.received, d); },
     5, NameClip::Whole},
    {"EntryID", [](const FoundItem& i, const DateStyle&) { return i.entry_id; }, 6,
     NameClip::Whole},
    {"Folder", [](const FoundItem& i, const DateStyle&) { return i.folder; }, 7,
     NameClip::Whole},
    {"LatestTime", [](const FoundItem& i, const DateStyle& d) { return DateText(i.latest, d); },
     8, NameClip::Whole},
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

// An item's texts as the list shows them, in column order.
using RowTexts = std::array<std::string, kFoundColumns.size()>;
RowTexts ColumnTexts(const FoundItem& item, const DateStyle& dates);

// Where the search puts what it finds, in list order.
class FoundItemSink {
 public:
  // Empties the list for a search whose dates show in this style.
  virtual void Start(DateStyle dates) = 0;
  virtual void Add(FoundItem item) = 0;

 protected:
  ~FoundItemSink() = default;
};

}  // namespace qs

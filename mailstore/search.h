#pragma once
// The search: every mail item of a folder and its subfolders whose latest
// time lies in the date window goes into the list, one row per item.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "mailstore/date_time.h"
#include "mailstore/found_item.h"
#include "mailstore/mail_store.h"
#include "mailstore/open_mail_store.h"
#include "platform/worker_pool.h"
#include "settings/option_values.h"

namespace qs {

class Reporter;

// The items a search passed over because they are no mail, by kind;
// counted from any thread.
struct PassedOverKinds {
  std::atomic<std::int64_t> meeting_requests{0};
  std::atomic<std::int64_t> reports{0};
  std::atomic<std::int64_t> others{0};  // appointments, contacts, tasks...
  // Items that could not be read in folders that hold no mail.
  std::atomic<std::int64_t> unreadable_elsewhere{0};
  void Count(int item_class);
  // "passed over: 6 meeting requests, 1 report"; empty when none was.
  std::string Text() const;
};

// What one search carries down the folder tree.
struct SearchContext {
  FoundItemSink& found;
  // Reads the items; one thread where the store allows no more.
  WorkerPool& pool;
  DateTime since;
  DateTime before;
  // Told the folder of each item the store cannot read, and why; without it,
  // such an item ends the search.
  std::function<void(const std::string& folder_path, const char* reason)> unreadable;
  PassedOverKinds* passed_over = nullptr;
};

inline constexpr const char* kSearchFailure = "Can't access the specified Mail Folder.";

// Empties the list of found items and fills it from the folder the path
// names. Every failure is reported to the user here; rows found before it
// stay in the list. Items the store cannot read are passed over and reported
// once, with their number, at the end.
void SearchMailFolder(Reporter& report, const MailStoreOpener& open, const std::string& path,
                      FoundItemSink& found, const SearchOptions& settings);

// The earliest "Since" there is: a window from it has no lower bound.
inline DateTime EarliestSince() { return MakeDateTime(1900, 1, 1); }

// The latest of the item's creation, sent (when it was sent) and received
// times that are set: a date of NoDate() is none, and NoDate() comes back
// only when none is set. Such an item counts as earlier than every date.
DateTime GetLatestTime(MailItem& item);

// Fills found with the item (its folder left to the caller); false, and
// nothing filled, when it is not a mail item or lies outside the date window.
// An item with no date set lies inside a window without a lower bound.
// An item that cannot be read may leave found half filled.
bool ReadFoundItem(const SearchContext& context, MailItem& item, FoundItem& found);

}  // namespace qs

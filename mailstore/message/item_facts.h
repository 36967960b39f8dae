#pragma once
// What the written forms take from the item beside its content: the store's
// own reading of its date and state.

#include <memory>
#include <optional>

#include "mailstore/date_time.h"
#include "platform/locale.h"

namespace qs {

struct ItemFacts {
  DateTime sent_on = NoDate();  // local time; NoDate() when the mail has none
  bool sent = true;             // false for a draft
  // The names the long date is written with; the C locale's where there are
  // none. Shared, not copied: every file of a run is written with the same.
  std::shared_ptr<const LocaleFacts> locale;
  // When the mail arrived, in seconds since 1970: its newest Received line,
  // else its date, else its file's time.
  std::optional<long long> received;
};

}  // namespace qs

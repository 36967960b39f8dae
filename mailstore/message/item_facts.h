#pragma once
// What a store knows of an item beside its content: its kind, its dates and
// whether it was sent. The search lists them; the written forms take them,
// with the locale the long date is written in.

#include <memory>
#include <optional>

#include "mailstore/date_time.h"
#include "mailstore/message/picture_links.h"
#include "platform/locale.h"

namespace qs {

struct ItemFacts {
  int item_class = 0;           // 0: not an item the program lists
  DateTime sent_on = NoDate();  // local time; NoDate() when the mail has none
  bool sent = true;             // false for a draft
  DateTime received = NoDate();  // local time
  DateTime created = NoDate();   // local time
  // When the mail arrived, in seconds since 1970: its newest Received line,
  // else its date, else its file's time.
  std::optional<long long> received_seconds;
  // The names the long date is written with; the C locale's where there are
  // none. Shared, not copied: every file of a run is written with the same.
  std::shared_ptr<const LocaleFacts> locale;
  // Where the HTML form's pictures were saved, if they were.
  const PictureLinks* picture_links = nullptr;
};

}  // namespace qs

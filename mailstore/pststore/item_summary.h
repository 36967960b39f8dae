#pragma once
// What the search shows of an item of a data file, read from its properties.

#include <optional>
#include <string>

#include "mailstore/date_time.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/properties/property_values.h"

namespace qs::pststore {

// An item's facts, and the texts the search lists of it.
struct ItemSummary : ItemFacts {
  std::string sender_address;
  std::string to;
  std::string subject;
};

// The item class of a message class ("IPM.Note.SMIME" is mail, "REPORT.IPM.Note.NDR"
// a report); 0 for one the program does not list.
int ItemClassOf(std::string_view message_class);

// Throws MailStoreError when the bag cannot be read.
ItemSummary Summarize(const PropertyBag& bag, const TextDecoding& decoding);

}  // namespace qs::pststore

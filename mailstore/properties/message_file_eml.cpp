#include "mailstore/properties/message_file_eml.h"

#include "mailstore/mail_store.h"
#include "mailstore/message/message_file_bag.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/message/save_message.h"
#include "mailstore/properties/message_reader.h"

namespace qs {

FileStamp SaveMessageFileAsEml(std::string message_file, const TextDecoding& decoding, const std::string& path) {
  const auto bag = MessageFileBag(std::make_shared<const CompoundReader>(std::move(message_file)));
  // The arrival stands in for the date of a mail that has none.
  ItemFacts facts;
  facts.received_seconds = TimeOf(*bag, kDeliveryTime);
  return SaveMessageAs(ReadMessage(*bag, decoding), facts, path, SaveType::Eml);
}

}  // namespace qs

#pragma once
// An Outlook message file (.msg) as property bags: the message, its
// recipients and attachments, and its attached messages, read from the
// compound file as the reading of data files reads their properties.

#include <memory>

#include "mailstore/message/compound_reader.h"
#include "mailstore/message/property_bag.h"

namespace qs {

// The message of the file; the bags share the reader. Throws MailStoreError
// when the file holds no message.
std::unique_ptr<MessageBag> MessageFileBag(std::shared_ptr<const CompoundReader> file);

}  // namespace qs

#pragma once
// A message of a data file as the content the saved forms are written from.

#include "mailstore/message/message_content.h"
#include "mailstore/message/property_bag.h"
#include "mailstore/properties/property_values.h"

namespace qs {

// Attached messages deeper than this are kept as empty messages.
inline constexpr int kDeepestAttachedMessage = 16;

// Throws MailStoreError when the message itself cannot be read; a damaged
// recipient, attachment or body is left out.
MessageContent ReadMessage(const MessageBag& message, const TextDecoding& decoding,
                                     int depth = 0);

}  // namespace qs

#pragma once
// Writes a message, from whichever store it comes, in one of Outlook's save types.

#include <string>

#include "mailstore/mail_store.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs {

// The version of the files SaveMessageAs writes, one for every type: raised
// whenever a change makes any of them differ, byte for byte, from before,
// so that a save writes the files of unchanged mail again.
inline constexpr int kMessageWriterVersion = 2;  // 2: attached messages keep their own times
// The same for the MIME message files (SaveType::Eml) made from a message.
inline constexpr int kEmlWriterVersion = 1;

constexpr int MessageWriterVersion(SaveType type) {
  return type == SaveType::Eml ? kEmlWriterVersion : kMessageWriterVersion;
}

// Throws MailStoreError when the file cannot be written.
FileStamp SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                        SaveType type);

}  // namespace qs

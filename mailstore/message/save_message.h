#pragma once
// Writes a message, from whichever store it comes, in one of Outlook's save types.

#include <string>

#include "mailstore/mail_store.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs {

// The version of the files SaveMessageAs writes of a type: raised whenever a
// change makes any of them differ, byte for byte, from before, so that a
// save writes the files of unchanged mail again. 2: attached messages keep
// their own times; 3 (pages): pictures link to the attachments saved beside.
// The MIME message files (SaveType::Eml) made from a message have their own.
inline constexpr int kEmlWriterVersion = 1;
constexpr int MessageWriterVersion(SaveType type) {
  if (type == SaveType::Eml) return kEmlWriterVersion;
  return type == SaveType::Html ? 3 : 2;
}

// Throws MailStoreError when the file cannot be written.
FileStamp SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                        SaveType type);

}  // namespace qs

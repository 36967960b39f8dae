#pragma once
// Outlook message files (.msg), Unicode form.

#include <string>

#include "mailstore/message/compound_file.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs {

// The most recipients, and the most attachments, one message file can hold.
inline constexpr std::size_t kMessageFileLimit = 2048;

// The storages of a message's recipients and attachments, numbered from 0.
std::string RecipientStorageName(std::size_t number);
std::string AttachmentStorageName(std::size_t number);

// How the streams made from the mail (its body, HTML and attachments) are
// counted before the file is laid out: made once and held until the file is
// written, which is fastest, or for a large mail made twice, once to count
// them, so that they are never held.
enum class SourceUse { kMadeOnce, kMadeTwice };

// The storage tree of the message; its body streams refer to content, which
// must outlive it. Throws MailStoreError for a message over the format's
// limits.
CompoundEntry MessageFileTree(const MessageContent& content, const ItemFacts& facts,
                              SourceUse use = SourceUse::kMadeOnce);

// Throws MailStoreError when the file cannot be written.
FileStamp WriteMessageFile(const MessageContent& content, const ItemFacts& facts,
                           const std::string& path);

}  // namespace qs

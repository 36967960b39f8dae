#pragma once
// Writes a message of the directory store in one of Outlook's save types.

#include <string>

#include "mailstore/dirstore/saveas/item_facts.h"
#include "mailstore/dirstore/saveas/message_content.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

// Throws MailStoreError when the file cannot be written.
void SaveMessageAs(const MessageContent& content, const ItemFacts& facts, const std::string& path,
                   SaveType type);

}  // namespace qs::dirstore

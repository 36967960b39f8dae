#pragma once
// An Outlook message file (.msg) written again as a MIME message file: the
// way a store whose own save writes only message files (Outlook) saves
// mail as .eml, with the same writer as the data files' mail.

#include <string>

#include "mailstore/properties/property_values.h"
#include "platform/file_system.h"

namespace qs {

// message_file: the bytes of the message file. Throws MailStoreError when
// they are no message file, when a part of the mail cannot be read from
// them, or when the file at path cannot be written.
FileStamp SaveMessageFileAsEml(std::string message_file, const TextDecoding& decoding, const std::string& path);

}  // namespace qs

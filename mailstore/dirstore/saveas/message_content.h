#pragma once
// A whole mail file read for saving: the parts of it that the written forms
// need, in UTF-8, with its attachments decoded.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/address_list.h"

namespace qs::dirstore {

struct MessageContent;

struct MessageAttachment {
  // The decoded name, or ATT00001.<ext> for a part without one.
  std::string file_name;
  std::string mime_type;   // lower case, "application/octet-stream" when absent
  std::string content_id;  // without the angle brackets
  std::string data;        // the decoded bytes; a whole message for an attached one
  // An attached message, read as a message of its own.
  std::shared_ptr<const MessageContent> message;
};

struct MessageContent {
  std::string subject;
  std::vector<Mailbox> from;
  std::vector<Mailbox> to;
  std::vector<Mailbox> cc;
  std::vector<Mailbox> bcc;
  std::optional<long long> date;  // seconds since 1970, UTC
  std::string message_id;         // without the angle brackets
  std::string headers;            // the header block as the mail holds it
  std::optional<std::string> text_body;
  std::optional<std::string> html_body;  // converted to UTF-8
  std::vector<MessageAttachment> attachments;
};

// Never fails for malformed mail: whatever cannot be read is left empty.
MessageContent ReadMessageContent(std::string_view bytes);

// The file extension (with its dot) usual for a MIME type, ".bin" when none is.
std::string ExtensionOfMimeType(std::string_view mime_type);

}  // namespace qs::dirstore

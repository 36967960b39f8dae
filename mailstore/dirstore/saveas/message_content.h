#pragma once
// A whole mail file read for saving: the parts of it that the written forms
// need, the texts in UTF-8, the attachments decoded when they are written.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/dirstore/address_list.h"
#include "mailstore/dirstore/saveas/byte_source.h"

namespace qs::dirstore {

struct MessageContent;
class MailBytes;

struct MessageAttachment {
  // The decoded name, or ATT00001.<ext> for a part without one.
  std::string file_name;
  std::string mime_type;   // lower case, "application/octet-stream" when absent
  std::string content_id;  // without the angle brackets
  // The decoded bytes, a whole message for an attached one; made from the
  // mail's bytes each time they are written.
  std::shared_ptr<const ByteSource> data = std::make_shared<const HeldBytes>(std::string());
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
  std::uint64_t mail_size = 0;  // the bytes of the mail as stored
};

// Never fails for malformed mail: whatever cannot be read is left empty.
// The attachments refer to the mail's bytes and keep them.
MessageContent ReadMessageContent(const std::shared_ptr<const MailBytes>& mail);
MessageContent ReadMessageContent(std::string_view bytes);

// The file extension (with its dot) usual for a MIME type, ".bin" when none is.
std::string ExtensionOfMimeType(std::string_view mime_type);

}  // namespace qs::dirstore

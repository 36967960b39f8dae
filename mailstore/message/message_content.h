#pragma once
// A mail as the written forms need it, whatever store it comes from: the
// texts in UTF-8, the attachments decoded when they are written.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/message/mailbox.h"

namespace qs {

struct MessageContent;

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
  std::string in_reply_to;        // the same, where the store keeps it apart from the headers
  std::string headers;            // the header block as the mail holds it
  // In UTF-8; none when the mail has no text body.
  std::shared_ptr<const ByteSource> text_body;
  std::optional<std::string> html_body;  // converted to UTF-8
  // The RTF body in the compressed form message files keep, where the
  // store has one.
  std::optional<std::string> rtf_compressed;
  std::vector<MessageAttachment> attachments;
  std::uint64_t mail_size = 0;  // the bytes of the mail as stored
  // Where the store keeps them apart from the mail's headers (a data file's
  // attached message): when the message arrived, was made and was last
  // changed, in seconds since 1970.
  std::optional<long long> received;
  std::optional<long long> created;
  std::optional<long long> modified;
  // The parts of the mail that could not be read (a recipient, an
  // attachment or its data), each with the reason: the mail is then never
  // saved as if whole.
  std::vector<std::string> unreadable_parts;
};

}  // namespace qs

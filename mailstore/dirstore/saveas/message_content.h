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
#include "mailstore/dirstore/header_block.h"
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
  // The fields a search reads, as ScanHeaders finds them in the header block.
  std::shared_ptr<const RawHeaders> searched_headers;
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

// The bodies of a mail smaller than this are decoded once and held, which is
// faster; the text body of a larger one is decoded again from the mail's
// bytes each time it is written, so that it is not held beside them.
inline constexpr std::uint64_t kLargestHeldBodies = 16 << 20;

// Never fails for malformed mail: whatever cannot be read is left empty.
// The attachments and the text body refer to the mail's bytes and keep them.
MessageContent ReadMessageContent(const std::shared_ptr<const MailBytes>& mail,
                                  std::uint64_t largest_held_bodies = kLargestHeldBodies);
MessageContent ReadMessageContent(std::string_view bytes,
                                  std::uint64_t largest_held_bodies = kLargestHeldBodies);

// The file extension (with its dot) usual for a MIME type, ".bin" when none is.
std::string ExtensionOfMimeType(std::string_view mime_type);

}  // namespace qs::dirstore

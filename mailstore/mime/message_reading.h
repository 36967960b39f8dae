#pragma once
// A whole mail file read for saving: the parts of it that the written forms
// need.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/message/message_content.h"
#include "mailstore/message/mime_types.h"
#include "mailstore/mime/header_block.h"

namespace qs {

class MailBytes;

// The message, and the fields a search reads as ScanHeaders finds them in
// its header block.
struct MailContent : MessageContent {
  std::shared_ptr<const RawHeaders> searched_headers;
};

// The bodies of a mail smaller than this are decoded once and held, which is
// faster; the text body of a larger one is decoded again from the mail's
// bytes each time it is written, so that it is not held beside them.
inline constexpr std::uint64_t kLargestHeldBodies = 16 << 20;

// Never fails for malformed mail: whatever cannot be read is left empty.
// The attachments and the text body refer to the mail's bytes and keep them.
MailContent ReadMessageContent(const std::shared_ptr<const MailBytes>& mail,
                               std::uint64_t largest_held_bodies = kLargestHeldBodies);
MailContent ReadMessageContent(std::string_view bytes,
                               std::uint64_t largest_held_bodies = kLargestHeldBodies);


}  // namespace qs

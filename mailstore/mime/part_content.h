#pragma once
// The bytes of the parts of a parsed mail, made from the mail's own bytes
// each time they are written instead of being kept decoded.

#include <memory>
#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/encodings/line_ends.h"
#include "mailstore/mime/mail_bytes.h"
#include "mailstore/mime/mime_tree.h"

namespace qs {

// The content of a leaf part, its transfer encoding decoded. The part's body
// lies in the mail's bytes, which the content keeps.
std::shared_ptr<const ByteSource> PartContent(const MimePart& part,
                                              std::shared_ptr<const MailBytes> mail);

// Bytes of the mail as they stand; with crlf, every line ends in CR LF, as
// the lines of the mail around them do.
std::shared_ptr<const ByteSource> MailRange(std::string_view range, bool crlf,
                                            std::shared_ptr<const MailBytes> mail);

}  // namespace qs

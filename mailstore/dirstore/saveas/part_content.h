#pragma once
// The bytes of the parts of a parsed mail, made from the mail's own bytes
// each time they are written instead of being kept decoded.

#include <memory>
#include <string>
#include <string_view>

#include "mailstore/dirstore/saveas/byte_source.h"
#include "mailstore/dirstore/saveas/mail_bytes.h"
#include "mailstore/dirstore/saveas/mime_tree.h"

namespace qs::dirstore {

// The content of a leaf part, its transfer encoding decoded. The part's body
// lies in the mail's bytes, which the content keeps.
std::shared_ptr<const ByteSource> PartContent(const MimePart& part,
                                              std::shared_ptr<const MailBytes> mail);

// The text with a CR put before each line feed that has none, in pieces or
// whole.
void WriteWithCrLf(std::string_view text, const ByteSink& sink);
std::string WithCrLf(std::string_view text);

// Bytes of the mail as they stand; with crlf, every line ends in CR LF, as
// the lines of the mail around them do.
std::shared_ptr<const ByteSource> MailRange(std::string_view range, bool crlf,
                                            std::shared_ptr<const MailBytes> mail);

}  // namespace qs::dirstore

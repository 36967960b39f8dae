#pragma once
// The bytes of the parts of a parsed mail, made from the mail's own bytes
// each time they are written instead of being kept decoded.

#include <gmime/gmime.h>

#include <memory>
#include <string>

#include "mailstore/dirstore/saveas/byte_source.h"
#include "mailstore/dirstore/saveas/mail_bytes.h"

namespace qs::dirstore {

// The decoded content of a leaf part. Lines of 7bit and 8bit text end in
// CR LF, so a lone CR that GMime leaves at the very end, where the closing
// boundary follows without a line end, is dropped.
std::shared_ptr<const ByteSource> PartContent(GMimePart* part,
                                              std::shared_ptr<const MailBytes> mail);

// An attached message as the mail holds it; with crlf, every line ends in
// CR LF (GMime 3.2 can write bare line feeds although told otherwise).
std::shared_ptr<const ByteSource> AttachedMessage(GMimeObject* message, bool crlf,
                                                  std::shared_ptr<const MailBytes> mail);

}  // namespace qs::dirstore

#pragma once
// A message as a MIME message file (RFC 5322, RFC 2045 to 2049), made in
// pieces as it is written: an attachment is never held whole.
//
// The header block is the transport headers the store kept, without their
// MIME structure fields, else one made from the message (Date in UTC, From,
// To, Cc, Bcc, Subject, Message-ID, In-Reply-To). The bodies are text and
// HTML as multipart/alternative; the pictures the HTML shows by content ID
// beside them in multipart/related; the other attachments after them in
// multipart/mixed, an attached message as a message/rfc822 part made the
// same way. Every body is base64 or quoted-printable, so every line is
// ASCII and within 998 octets, and the same message gives the same bytes.

#include <functional>
#include <memory>
#include <optional>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/message/message_content.h"

namespace qs {

// Attached messages deeper than this are written as empty messages.
inline constexpr int kDeepestEmlMessage = 32;

class EmlForm final : public ByteSource {
 public:
  // The text alternative of a message whose only body is HTML; nothing
  // where there is none.
  using TextOfHtml = std::function<std::shared_ptr<const ByteSource>(const MessageContent&)>;

  // arrival: the Date of a message that has none of its own. The content
  // must outlive the form.
  EmlForm(const MessageContent& content, TextOfHtml text_of_html, std::optional<long long> arrival = {})
      : content_(content), text_of_html_(std::move(text_of_html)), arrival_(arrival) {}
  void WriteTo(const ByteSink& sink) const override;

 private:
  const MessageContent& content_;
  TextOfHtml text_of_html_;
  std::optional<long long> arrival_;
};

}  // namespace qs

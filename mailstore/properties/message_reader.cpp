#include "mailstore/properties/message_reader.h"

#include <array>
#include <cstdio>

#include "mailstore/mail_store.h"
#include "mailstore/message/mime_types.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/properties/code_page.h"
#include "mailstore/properties/compressed_rtf.h"
#include "mailstore/properties/rtf_text.h"
#include "platform/text.h"

namespace qs {

namespace {

// The address other programs can use: the SMTP one where the stored one
// is of Exchange's own form.
std::string AddressOf(const PropertyBag& bag, std::uint16_t address_id, std::uint16_t type_id,
                      std::uint16_t smtp_id, const TextDecoding& decoding) {
  std::string address = TextOr(bag, address_id, decoding);
  const std::string type = TextOr(bag, type_id, decoding);
  if (address.empty() || EqualsIgnoringAsciiCase(type, "EX") || address.starts_with("/"))
    if (std::string smtp = TextOr(bag, smtp_id, decoding); !smtp.empty()) return smtp;
  return address;
}

// An attachment's data that the file lost: writing it fails.
class LostBytes final : public ByteSource {
 public:
  explicit LostBytes(std::string reason) : reason_(std::move(reason)) {}
  std::uint64_t Size() const override { throw MailStoreError(reason_); }
  void WriteTo(const ByteSink&) const override { throw MailStoreError(reason_); }

 private:
  std::string reason_;
};

void ReadRecipients(const MessageBag& message, const TextDecoding& decoding,
                    MessageContent& content) {
  const std::size_t count = message.RecipientCount();
  for (std::size_t i = 0; i < count; ++i) {
    try {
      const std::unique_ptr<PropertyBag> recipient = message.Recipient(i);
      Mailbox mailbox{TextOr(*recipient, kDisplayName, decoding),
                      AddressOf(*recipient, kEmailAddress, kAddressType, kSmtpAddress, decoding)};
      switch (Int32Of(*recipient, kRecipientType).value_or(kToRecipient) & 0xF) {
        case kCcRecipient: content.cc.push_back(std::move(mailbox)); break;
        case kBccRecipient: content.bcc.push_back(std::move(mailbox)); break;
        default: content.to.push_back(std::move(mailbox)); break;
      }
    } catch (const MailStoreError& error) {
      content.unreadable_parts.push_back("recipient " + std::to_string(i + 1) + " cannot be read: " +
                                         error.what());
    }
  }
}

std::string Unbracketed(std::string id) {
  if (id.size() >= 2 && id.front() == '<' && id.back() == '>') return id.substr(1, id.size() - 2);
  return id;
}

// The HTML body is kept as bytes in the code page 0x3FDE names, or as text.
std::optional<std::string> HtmlOf(const MessageBag& message, const TextDecoding& decoding) {
  const std::optional<PropertyValue> html = message.Get(kHtml);
  if (!html) return std::nullopt;
  if (html->type != kBinaryValue) return TextOf(message, kHtml, decoding);
  const std::optional<std::int32_t> charset = Int32Of(message, kInternetCodePage);
  const std::uint32_t code_page =
      charset && *charset > 0 && KnownCodePage(static_cast<std::uint32_t>(*charset))
          ? static_cast<std::uint32_t>(*charset)
          : CodePageOf(message, decoding);
  return CodePageToUtf8(html->bytes, code_page);
}

// Like the stored texts, a body may end in the NUL that ended it in memory.
void DropEndingNuls(std::optional<std::string>& body) {
  while (body && !body->empty() && body->back() == '\0') body->pop_back();
}

void ReadBodies(const MessageBag& message, const TextDecoding& decoding, MessageContent& content) {
  std::optional<std::string> text = TextOf(message, kBody, decoding);
  content.html_body = HtmlOf(message, decoding);
  content.rtf_compressed = BytesOf(message, kRtfCompressed);
  if (!text && !content.html_body && content.rtf_compressed) {
    // A body kept only as RTF: what it wraps, else its text.
    if (const std::optional<std::string> rtf = DecompressRtf(*content.rtf_compressed)) {
      RtfText read = ReadRtfText(*rtf, CodePageOf(message, decoding));
      if (read.kind == RtfText::Kind::Html)
        content.html_body = std::move(read.text);
      else
        text = std::move(read.text);
    }
  }
  DropEndingNuls(text);
  DropEndingNuls(content.html_body);
  if (text) content.text_body = std::make_shared<const HeldBytes>(std::move(*text));
  content.mail_size += content.html_body ? content.html_body->size() : 0;
  content.mail_size += content.rtf_compressed ? content.rtf_compressed->size() : 0;
}

// An attachment's own name: its long name, else its short one, else its
// display name.
std::string OwnName(const AttachmentBag& attachment, const TextDecoding& decoding) {
  for (const std::uint16_t id : {kAttachLongFileName, kAttachFileName, kDisplayName})
    if (std::string name = TextOr(attachment, id, decoding); !name.empty()) return name;
  return {};
}

// A name for an attachment without one, made like the directory store's:
// ATT00001 and the extension of its type.
std::string UnnamedName(std::size_t number, const std::string& mime_type) {
  std::array<char, 24> name{};
  std::snprintf(name.data(), name.size(), "ATT%05zu", number);
  return name.data() + ExtensionOfMimeType(mime_type);
}

void ReadAttachments(const MessageBag& message, const TextDecoding& decoding, int depth,
                     MessageContent& content) {
  const std::size_t count = message.AttachmentCount();
  std::size_t unnamed = 0;
  for (std::size_t i = 0; i < count; ++i) {
    try {
      const std::unique_ptr<AttachmentBag> attachment = message.Attachment(i);
      MessageAttachment out;
      out.mime_type = AsciiLower(TextOr(*attachment, kAttachMimeTag, decoding));
      out.content_id = Unbracketed(TextOr(*attachment, kAttachContentId, decoding));
      if (std::unique_ptr<MessageBag> attached = attachment->Message()) {
        out.message = std::make_shared<const MessageContent>(
            depth < kDeepestAttachedMessage ? ReadMessage(*attached, decoding, depth + 1)
                                            : MessageContent());
        content.mail_size += out.message->mail_size;
        for (const std::string& part : out.message->unreadable_parts)
          content.unreadable_parts.push_back("attached message " + std::to_string(i + 1) + ": " + part);
      } else if (Int32Of(*attachment, kAttachMethod) == kAttachEmbeddedMessage) {
        out.message = std::make_shared<const MessageContent>();
      } else {
        out.data = attachment->Data();  // nothing when the file lost it
      }
      if (out.mime_type.empty())
        out.mime_type = out.message ? "message/rfc822" : "application/octet-stream";
      if (out.message)
        out.file_name = (out.message->subject.empty() ? "Untitled" : out.message->subject) + ".msg";
      else if (out.file_name = OwnName(*attachment, decoding); out.file_name.empty())
        out.file_name = UnnamedName(++unnamed, out.mime_type);
      if (!out.data) {
        std::string reason = "the data of attachment " + std::to_string(i + 1) + " (" + out.file_name +
                             ") is missing from the file";
        out.data = std::make_shared<const LostBytes>(reason);
        content.unreadable_parts.push_back(std::move(reason));
      }
      content.attachments.push_back(std::move(out));
    } catch (const MailStoreError& error) {
      // The rest of the message is still read: its text forms hold no
      // attachments.
      content.unreadable_parts.push_back("attachment " + std::to_string(i + 1) + " cannot be read: " +
                                         error.what());
    }
  }
}

}  // namespace

MessageContent ReadMessage(const MessageBag& message, const TextDecoding& decoding, int depth) {
  MessageContent content;
  content.subject = WithoutSubjectMarker(TextOr(message, kSubject, decoding));
  const std::string sender =
      AddressOf(message, kSenderAddress, kSenderAddressType, kSenderSmtpAddress, decoding);
  const std::string sender_name = TextOr(message, kSenderName, decoding);
  if (!sender.empty() || !sender_name.empty()) content.from.push_back({sender_name, sender});
  content.date = TimeOf(message, kClientSubmitTime);
  if (depth > 0) {
    // An attached message's own times; the item's are the store's summary's.
    content.received = TimeOf(message, kDeliveryTime);
    content.created = TimeOf(message, kCreationTime);
    content.modified = TimeOf(message, kLastModificationTime);
  }
  content.message_id = Unbracketed(TextOr(message, kInternetMessageId, decoding));
  content.in_reply_to = Unbracketed(TextOr(message, kInReplyToId, decoding));
  content.headers = TextOr(message, kTransportHeaders, decoding);
  ReadRecipients(message, decoding, content);
  ReadBodies(message, decoding, content);
  ReadAttachments(message, decoding, depth, content);
  return content;
}

}  // namespace qs

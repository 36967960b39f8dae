#include "mailstore/message/message_file.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "mailstore/encodings/line_ends.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/piece_writer.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/message/property_stream.h"
#include "mailstore/message/short_file_name.h"
#include "mailstore/message/text_forms.h"

namespace qs {

namespace {

constexpr std::int32_t kFlagRead = 0x01;
constexpr std::int32_t kFlagUnsent = 0x08;
constexpr std::int32_t kFlagHasAttachments = 0x10;
constexpr std::int32_t kStoreUnicodeOk = 0x00040000;
constexpr std::int32_t kMailUser = 6;
constexpr std::int32_t kAttachObject = 7;
constexpr std::int32_t kAttachMhtmlReference = 0x4;
constexpr std::int32_t kUtf8CodePage = 65001;

constexpr ClassId kMessageClassId{0x0B, 0x0D, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

std::uint64_t FileTime(long long unix_seconds) {
  return static_cast<std::uint64_t>(unix_seconds + 11644473600LL) * 10000000ULL;
}


std::string Names(const std::vector<Mailbox>& mailboxes) {
  std::string out;
  for (const Mailbox& mailbox : mailboxes)
    out += (out.empty() ? "" : "; ") + (mailbox.name.empty() ? mailbox.address : mailbox.name);
  return out;
}

// "Re: ", "Fw: ", "AW: ": up to three letters, a colon and a blank.
std::size_t SubjectPrefixLength(const std::string& subject) {
  std::size_t letters = 0;
  while (letters < subject.size() && letters < 4 &&
         std::isalpha(static_cast<unsigned char>(subject[letters])))
    ++letters;
  if (letters == 0 || letters > 3 || subject.size() < letters + 2 || subject[letters] != ':' ||
      subject[letters + 1] != ' ')
    return 0;
  return letters + 2;
}

// The body as the file stores it: UTF-16 with CRLF line ends, made in pieces
// as it is written.
class BodyStream final : public ByteSource {
 public:
  explicit BodyStream(const MessageContent& content) : body_(BodyAsText(content)) {}
  void WriteTo(const ByteSink& sink) const override {
    PieceWriter out(sink);
    Utf16LeWriter utf16(out, LineEnds::kCrLf);
    body_->WriteTo([&utf16](std::string_view piece) { utf16.Take(piece); });
    utf16.Finish();
    out.Flush();
  }

 private:
  std::shared_ptr<const ByteSource> body_;
};

// A stream made from the mail, with its count of bytes.
struct SizedSource {
  std::shared_ptr<const ByteSource> source;
  std::uint64_t size;
};

SizedSource Sized(std::shared_ptr<const ByteSource> source, SourceUse use) {
  if (use == SourceUse::kMadeTwice) {
    const std::uint64_t size = source->Size();
    return {std::move(source), size};
  }
  std::string bytes;
  source->WriteTo([&bytes](std::string_view piece) { bytes += piece; });
  const std::uint64_t size = bytes.size();
  return {std::make_shared<const HeldBytes>(std::move(bytes)), size};
}

std::string ExtensionOf(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

std::string Header(std::size_t recipients, std::size_t attachments, bool top_level) {
  std::string header(8, '\0');
  header += LittleEndian32(static_cast<std::uint32_t>(recipients));
  header += LittleEndian32(static_cast<std::uint32_t>(attachments));
  header += LittleEndian32(static_cast<std::uint32_t>(recipients));
  header += LittleEndian32(static_cast<std::uint32_t>(attachments));
  if (top_level) header += std::string(8, '\0');
  return header;
}

void AddMessage(CompoundEntry& storage, const MessageContent& content, const ItemFacts& facts,
                SourceUse use, bool top_level);

void AddRecipients(CompoundEntry& storage, const MessageContent& content) {
  std::size_t row = 0;
  const auto add = [&](const std::vector<Mailbox>& mailboxes, std::int32_t type) {
    for (const Mailbox& mailbox : mailboxes) {
      PropertyStream properties;
      properties.Int32(kRecipientType, type);
      properties.Int32(kRowId, static_cast<std::int32_t>(row));
      properties.Int32(kObjectType, kMailUser);
      properties.String(kDisplayName, mailbox.name.empty() ? mailbox.address : mailbox.name);
      properties.String(kAddressType, "SMTP");
      properties.String(kEmailAddress, mailbox.address);
      properties.String(kSmtpAddress, mailbox.address);
      CompoundEntry recipient = CompoundEntry::Storage(RecipientStorageName(row));
      std::move(properties).MoveTo(recipient, std::string(8, '\0'));
      storage.children.push_back(std::move(recipient));
      ++row;
    }
  };
  add(content.to, kToRecipient);
  add(content.cc, kCcRecipient);
  add(content.bcc, kBccRecipient);
}

void AddAttachments(CompoundEntry& storage, const MessageContent& content, const ItemFacts& facts,
                    SourceUse use) {
  for (std::size_t i = 0; i < content.attachments.size(); ++i) {
    const MessageAttachment& attachment = content.attachments[i];
    CompoundEntry entry = CompoundEntry::Storage(AttachmentStorageName(i));
    PropertyStream properties;
    properties.Int32(kAttachNumber, static_cast<std::int32_t>(i));
    properties.Int32(kObjectType, kAttachObject);
    properties.Int32(kRenderingPosition, -1);
    properties.String(kDisplayName, attachment.file_name);
    properties.String(kAttachFileName, ShortFileName(attachment.file_name));
    properties.String(kAttachLongFileName, attachment.file_name);
    properties.String(kAttachExtension, ExtensionOf(attachment.file_name));
    properties.String(kAttachMimeTag, attachment.mime_type);
    if (!attachment.content_id.empty()) properties.String(kAttachContentId, attachment.content_id);
    // A picture the HTML body shows by its content ID belongs to the body:
    // readers show it there and not in the list of attachments.
    if (!attachment.content_id.empty() && content.html_body &&
        content.html_body->find("cid:" + attachment.content_id) != std::string::npos) {
      properties.Int32(kAttachFlags, kAttachMhtmlReference);
      properties.Boolean(kAttachmentHidden, true);
    }
    // An attached message's bytes are only counted: its storage is written.
    const SizedSource data = attachment.message ? SizedSource{nullptr, attachment.data->Size()}
                                                : Sized(attachment.data, use);
    properties.Int32(kAttachSize,
                     static_cast<std::int32_t>(std::min<std::uint64_t>(data.size, 0x7FFFFFFF)));
    if (attachment.message) {
      properties.Int32(kAttachMethod, kAttachEmbeddedMessage);
      properties.Object(kAttachData);
      CompoundEntry embedded = CompoundEntry::Storage(PropertyStream::ValueName(kAttachData, 0x000D));
      ItemFacts inner = facts;
      inner.sent = true;
      inner.received_seconds = attachment.message->received;  // not that of the mail that holds it
      AddMessage(embedded, *attachment.message, inner, use, false);
      entry.children.push_back(std::move(embedded));
    } else {
      properties.Int32(kAttachMethod, kAttachByValue);
      properties.Binary(kAttachData, data.source, data.size);
    }
    std::move(properties).MoveTo(entry, std::string(8, '\0'));
    storage.children.push_back(std::move(entry));
  }
}

void AddMessage(CompoundEntry& storage, const MessageContent& content, const ItemFacts& facts,
                SourceUse use, bool top_level) {
  const std::size_t recipients = content.to.size() + content.cc.size() + content.bcc.size();
  if (recipients > kMessageFileLimit)
    throw MailStoreError("The message has " + std::to_string(recipients) +
                         " recipients; an Outlook message file holds at most 2048.");
  if (content.attachments.size() > kMessageFileLimit)
    throw MailStoreError("The message has " + std::to_string(content.attachments.size()) +
                         " attachments; an Outlook message file holds at most 2048.");
  PropertyStream properties;
  properties.String(kMessageClass, "IPM.Note");
  properties.String(kSubject, content.subject);
  const std::size_t prefix = SubjectPrefixLength(content.subject);
  properties.String(kSubjectPrefix, content.subject.substr(0, prefix));
  properties.String(kNormalizedSubject, content.subject.substr(prefix));
  if (!content.from.empty()) {
    const Mailbox& sender = content.from.front();
    const std::string name = sender.name.empty() ? sender.address : sender.name;
    properties.String(kSenderName, name);
    properties.String(kSenderAddress, sender.address);
    properties.String(kSenderAddressType, "SMTP");
    properties.String(kSenderSmtpAddress, sender.address);
    properties.String(kSentRepresentingName, name);
    properties.String(kSentRepresentingAddress, sender.address);
    properties.String(kSentRepresentingAddressType, "SMTP");
    properties.String(kSentRepresentingSmtpAddress, sender.address);
  }
  properties.String(kDisplayTo, Names(content.to));
  properties.String(kDisplayCc, Names(content.cc));
  properties.String(kDisplayBcc, Names(content.bcc));
  if (content.date) properties.Time(kClientSubmitTime, FileTime(*content.date));
  // Arrival is the store's reading (a Received line, the date, the file's
  // time), so a mail without a date still has its times.
  // A message that keeps its own making and change times has them.
  const std::optional<long long> arrived = facts.received_seconds ? facts.received_seconds : content.date;
  if (arrived) properties.Time(kDeliveryTime, FileTime(*arrived));
  if (const auto made = content.created ? content.created : arrived)
    properties.Time(kCreationTime, FileTime(*made));
  if (const auto changed = content.modified ? content.modified : arrived)
    properties.Time(kLastModificationTime, FileTime(*changed));
  properties.Int32(kMessageFlags, kFlagRead | (facts.sent ? 0 : kFlagUnsent) |
                                      (content.attachments.empty() ? 0 : kFlagHasAttachments));
  properties.Boolean(kHasAttachments, !content.attachments.empty());
  if (!content.message_id.empty()) properties.String(kInternetMessageId, "<" + content.message_id + ">");
  if (!content.headers.empty()) properties.String(kTransportHeaders, WithCrLf(content.headers));
  const SizedSource body = Sized(std::make_shared<const BodyStream>(content), use);
  properties.String(kBody, body.source, body.size);
  if (content.html_body) {
    // Converted to UTF-8, so its old charset declaration must not be read.
    const SizedSource html = Sized(std::make_shared<const Utf8DeclaredHtml>(*content.html_body), use);
    properties.Binary(kHtml, html.source, html.size);
    properties.Int32(kInternetCodePage, kUtf8CodePage);
  }
  if (content.rtf_compressed) properties.Binary(kRtfCompressed, *content.rtf_compressed);
  properties.Int32(kStoreSupportMask, kStoreUnicodeOk);
  AddRecipients(storage, content);
  AddAttachments(storage, content, facts, use);
  std::move(properties).MoveTo(storage, Header(recipients, content.attachments.size(), top_level));
}

std::string Numbered(const char* prefix, std::size_t number) {
  std::array<char, 40> name{};
  std::snprintf(name.data(), name.size(), "%s%08X", prefix, static_cast<unsigned>(number));
  return name.data();
}

}  // namespace

std::string RecipientStorageName(std::size_t number) { return Numbered("__recip_version1.0_#", number); }
std::string AttachmentStorageName(std::size_t number) { return Numbered("__attach_version1.0_#", number); }

CompoundEntry MessageFileTree(const MessageContent& content, const ItemFacts& facts,
                              SourceUse use) {
  CompoundEntry root = CompoundEntry::Storage("Root Entry");
  // No named properties are written, but readers expect their storage.
  CompoundEntry names = CompoundEntry::Storage("__nameid_version1.0");
  for (const std::uint16_t stream : {std::uint16_t{0x0002}, std::uint16_t{0x0003}, std::uint16_t{0x0004}})
    names.children.push_back(CompoundEntry::Stream(PropertyStream::ValueName(stream, 0x0102), std::string()));
  root.children.push_back(std::move(names));
  AddMessage(root, content, facts, use, true);
  return root;
}

FileStamp WriteMessageFile(const MessageContent& content, const ItemFacts& facts,
                           const std::string& path) {
  // Ordinary mail's attachments are decoded once and held; a large mail's
  // twice, so that saving it never holds them.
  constexpr std::uint64_t kLargestHeld = 16 << 20;
  return WriteCompoundFile(path,
                           MessageFileTree(content, facts,
                                           content.mail_size < kLargestHeld ? SourceUse::kMadeOnce
                                                                            : SourceUse::kMadeTwice),
                           kMessageClassId);
}

}  // namespace qs

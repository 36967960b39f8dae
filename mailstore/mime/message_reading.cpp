#include "mailstore/mime/message_reading.h"

#include <array>
#include <cstdio>
#include <optional>
#include <utility>

#include "mailstore/encodings/transfer_encoding.h"
#include "mailstore/mime/address_list.h"
#include "mailstore/mime/header_block.h"
#include "mailstore/mime/header_parameter.h"
#include "mailstore/mime/header_text.h"
#include "mailstore/mime/mail_bytes.h"
#include "mailstore/mime/message_summary.h"
#include "mailstore/mime/mime_tree.h"
#include "mailstore/mime/part_content.h"
#include "platform/text.h"

namespace qs {

namespace {

std::string StripAngles(std::string text) {
  if (text.size() >= 2 && text.front() == '<' && text.back() == '>')
    return text.substr(1, text.size() - 2);
  return text;
}

std::string Charset(const MimePart& part) {
  return ParameterText(part.Header("Content-Type"), "charset");
}

std::string HeldBodyText(const MimePart& part, const std::shared_ptr<const MailBytes>& mail) {
  const std::string charset = Charset(part);
  const auto content = PartContent(part, mail);
  if (!charset.empty())
    if (auto converted =
            ConvertedAsMade([&content](const ByteSink& sink) { content->WriteTo(sink); }, charset))
      return std::move(*converted);
  std::string bytes = WholeBytes(*content);
  return !charset.empty() ? CharsetToUtf8(std::move(bytes), charset) : PlainToUtf8(std::move(bytes));
}

class MadeText final : public ByteSource {
 public:
  explicit MadeText(TextPieces make) : make_(std::move(make)) {}
  void WriteTo(const ByteSink& sink) const override { make_(sink); }

 private:
  TextPieces make_;
};

class JoinedText final : public ByteSource {
 public:
  explicit JoinedText(std::vector<std::shared_ptr<const ByteSource>> parts) : parts_(std::move(parts)) {}
  void WriteTo(const ByteSink& sink) const override {
    for (const auto& part : parts_) part->WriteTo(sink);
  }

 private:
  std::vector<std::shared_ptr<const ByteSource>> parts_;
};

std::optional<char> LastByte(const ByteSource& text) {
  std::optional<char> last;
  text.WriteTo([&last](std::string_view piece) {
    if (!piece.empty()) last = piece.back();
  });
  return last;
}

// The part's own name: the disposition's file name, else the type's name.
std::string PartName(const MimePart& part) {
  std::string name = ParameterText(part.Header("Content-Disposition"), "filename");
  return name.empty() ? ParameterText(part.Header("Content-Type"), "name") : name;
}

bool IsAttachmentDisposition(const MimePart& part) {
  return EqualsIgnoringAsciiCase(HeaderValue(part.Header("Content-Disposition")), "attachment");
}

bool IsAttachedMessage(const MimePart& part) {
  return part.type == "message/rfc822" || part.type == "message/news" ||
         part.type == "message/global";
}

// What every part of one mail is read with.
struct Reading {
  std::shared_ptr<const MailBytes> mail;
  bool hold_bodies = true;
  // Whether the mail's lines end in CR LF, which the lines of an attached
  // message are given as well; looked for only when one is written.
  bool CrLf() const {
    if (!crlf) crlf = mail->View().find("\r\n") != std::string_view::npos;
    return *crlf;
  }
  mutable std::optional<bool> crlf;
};

MailContent ReadMessage(const MimePart& message, const Reading& reading);

class PartWalker {
 public:
  PartWalker(MessageContent& content, const Reading& reading)
      : content_(content), reading_(reading) {}

  // alternative: the parts are forms of one text, so only the first text
  // and HTML parts count; elsewhere each further text part is more of the
  // body.
  void Walk(const MimePart& part, bool alternative = false) {
    if (part.IsMultipart()) {
      for (const MimePart& inner : part.parts) Walk(inner, part.type == "multipart/alternative");
    } else if (IsAttachedMessage(part) && part.depth < kDeepestMimeNesting) {
      AddMessage(part);
    } else {
      AddPart(part, alternative);
    }
  }

  void JoinTextBody() {
    if (text_parts_.size() == 1) {
      content_.text_body = std::move(text_parts_.front());
    } else if (!text_parts_.empty()) {
      auto joined = std::make_shared<const JoinedText>(std::move(text_parts_));
      content_.text_body = reading_.hold_bodies
                               ? std::make_shared<const HeldBytes>(WholeBytes(*joined))
                                        : std::shared_ptr<const ByteSource>(std::move(joined));
    }
  }

 private:
  // An attached message encoded for transport is decoded and held, to be
  // read as a message of its own.
  void AddMessage(const MimePart& part) {
    // The lines of the messages inside end as the mail's own do.
    Reading inner_reading{reading_.mail, reading_.hold_bodies, reading_.CrLf()};
    std::string_view message = WithoutMboxLine(part.body);
    if (TransferEncodingOf(part.Header("Content-Transfer-Encoding")) !=
        TransferEncoding::kIdentity) {
      inner_reading.mail = MailBytes::Hold(WholeBytes(*PartContent(part, reading_.mail)));
      message = WithoutMboxLine(inner_reading.mail->View());
    }
    MessageAttachment attachment;
    attachment.mime_type = "message/rfc822";
    attachment.content_id = StripAngles(part.Header("Content-Id"));
    attachment.data = MailRange(message, inner_reading.CrLf(), inner_reading.mail);
    auto inner = std::make_shared<MessageContent>(
        ReadMessage(ReadMimeTree(message, part.depth + 1), inner_reading));
    if (!inner->subject.empty()) attachment.file_name = inner->subject + ".eml";
    attachment.message = std::move(inner);
    Add(std::move(attachment));
  }

  // A part without a name that is not marked as an attachment is the body
  // where it can be: the first text and the first HTML part, and further
  // text parts outside an alternative. Further forms of a text already taken
  // are dropped; any other part (an inline image, a second HTML part, a
  // calendar) is kept as an attachment, so nothing of the mail is lost.
  void AddPart(const MimePart& part, bool alternative) {
    std::string name = PartName(part);
    if (name.empty() && !IsAttachmentDisposition(part)) {
      if (part.type == "text/plain") {
        if (text_parts_.empty() || !alternative) AddToTextBody(BodyText(part));
        return;
      }
      if (part.type == "text/html" && !content_.html_body) {
        content_.html_body = HeldBodyText(part, reading_.mail);
        return;
      }
      if (part.type == "text/html" && alternative) return;
    }
    MessageAttachment attachment;
    attachment.file_name = std::move(name);
    attachment.mime_type = part.type;
    attachment.content_id = StripAngles(part.Header("Content-Id"));
    attachment.data = PartContent(part, reading_.mail);
    Add(std::move(attachment));
  }

  std::shared_ptr<const ByteSource> BodyText(const MimePart& part) const {
    if (reading_.hold_bodies)
      return std::make_shared<const HeldBytes>(HeldBodyText(part, reading_.mail));
    const auto content = PartContent(part, reading_.mail);
    return std::make_shared<const MadeText>(Utf8AsMade(
        [content](const ByteSink& sink) { content->WriteTo(sink); }, Charset(part)));
  }

  // The parts are joined once the walk is over, so that each is read once
  // for the byte it ends in, however many there are.
  void AddToTextBody(std::shared_ptr<const ByteSource> more) {
    if (last_text_byte_ && *last_text_byte_ != '\n') {
      text_parts_.push_back(std::make_shared<const HeldBytes>("\n"));
      last_text_byte_ = '\n';
    }
    if (const auto last = LastByte(*more)) last_text_byte_ = last;
    text_parts_.push_back(std::move(more));
  }

  void Add(MessageAttachment attachment) {
    if (attachment.file_name.empty()) {
      std::array<char, 16> number{};
      std::snprintf(number.data(), number.size(), "ATT%05d", ++unnamed_);
      attachment.file_name = std::string(number.data()) + ExtensionOfMimeType(attachment.mime_type);
    }
    content_.attachments.push_back(std::move(attachment));
  }

  MessageContent& content_;
  const Reading& reading_;
  std::vector<std::shared_ptr<const ByteSource>> text_parts_;
  std::optional<char> last_text_byte_;
  int unnamed_ = 0;
};

// The header block of an attached message is kept as it is written.
MailContent ReadMessage(const MimePart& message, const Reading& reading) {
  MailContent content;
  content.headers = message.depth > 0 && reading.CrLf() ? WithCrLf(message.header_block)
                                                       : std::string(message.header_block);
  // The fields a search reads are picked once, for these texts too.
  const auto& searched = content.searched_headers =
      std::make_shared<const RawHeaders>(PickHeaders(message.fields));
  content.subject = DecodeHeaderText(searched->subject);
  content.from = ParseAddressList(searched->from);
  content.to = ParseAddressList(searched->to);
  content.cc = ParseAddressList(message.Header("Cc"));
  content.bcc = ParseAddressList(message.Header("Bcc"));
  content.message_id = StripAngles(message.Header("Message-Id"));
  content.date = ParseMailDateSeconds(searched->date);
  PartWalker walker(content, reading);
  walker.Walk(message);
  walker.JoinTextBody();
  return content;
}

}  // namespace

MailContent ReadMessageContent(const std::shared_ptr<const MailBytes>& mail,
                               std::uint64_t largest_held_bodies) {
  const std::string_view bytes = mail->View();
  MailContent content =
      ReadMessage(ReadMimeTree(bytes), Reading{mail, bytes.size() < largest_held_bodies, {}});
  content.mail_size = bytes.size();
  return content;
}

MailContent ReadMessageContent(std::string_view bytes, std::uint64_t largest_held_bodies) {
  return ReadMessageContent(MailBytes::Hold(std::string(bytes)), largest_held_bodies);
}
}  // namespace qs

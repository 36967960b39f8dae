#include "mailstore/dirstore/saveas/message_content.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "mailstore/dirstore/gmime_library.h"
#include "mailstore/dirstore/header_parameter.h"
#include "mailstore/dirstore/header_text.h"
#include "mailstore/dirstore/saveas/gobject_ptr.h"
#include "mailstore/dirstore/saveas/mail_bytes.h"
#include "mailstore/dirstore/saveas/part_content.h"
#include "platform/text.h"

namespace qs::dirstore {

namespace {

std::string Unfold(std::string_view raw) {
  std::string out;
  for (char c : raw)
    if (c != '\r' && c != '\n') out += c;
  const auto first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = out.find_last_not_of(" \t");
  return out.substr(first, last - first + 1);
}

// The raw value of a header: GMime's own decoding of encoded words is not used
// (see DecodeHeaderText).
std::string RawHeader(GMimeObject* object, const char* name) {
  GMimeHeaderList* list = g_mime_object_get_header_list(object);
  if (!list) return {};
  GMimeHeader* header = g_mime_header_list_get_header(list, name);
  if (!header) return {};
  const char* raw = g_mime_header_get_raw_value(header);
  return raw ? Unfold(raw) : std::string();
}

std::string StripAngles(std::string text) {
  if (text.size() >= 2 && text.front() == '<' && text.back() == '>')
    return text.substr(1, text.size() - 2);
  return text;
}

const char* Charset(GMimePart* part) {
  const char* charset =
      g_mime_content_type_get_parameter(g_mime_object_get_content_type(GMIME_OBJECT(part)),
                                        "charset");
  return charset ? charset : "";
}

std::string HeldBodyText(GMimePart* part, const std::shared_ptr<const MailBytes>& mail) {
  const std::string_view charset = Charset(part);
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
// GMime reads RFC 2231 values and unquoted names well, but its decoder of
// encoded words loses words after "=" padding; a name with encoded words is
// taken from the raw header and decoded word by word.
std::string PartName(GMimeObject* object) {
  const char* name = nullptr;
  std::string raw;
  if (GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(object)) {
    name = g_mime_content_disposition_get_parameter(disposition, "filename");
    if (name && *name) raw = HeaderParameter(RawHeader(object, "Content-Disposition"), "filename");
  }
  if (!name || !*name) {
    name = g_mime_content_type_get_parameter(g_mime_object_get_content_type(object), "name");
    if (name && *name) raw = HeaderParameter(RawHeader(object, "Content-Type"), "name");
  }
  if (raw.find("=?") != std::string::npos) return DecodeHeaderText(raw);
  // GMime leaves the bytes as they are where an RFC 2231 charset does not
  // convert them; a name is always UTF-8 for the save.
  return name ? CharsetToUtf8(name, "UTF-8") : std::string();
}

bool IsAttachmentDisposition(GMimeObject* object) {
  GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(object);
  return disposition && g_mime_content_disposition_is_attachment(disposition);
}

std::string MimeType(GMimeObject* object) {
  GMimeContentType* type = g_mime_object_get_content_type(object);
  if (!type) return "application/octet-stream";
  char* text = g_mime_content_type_get_mime_type(type);
  std::string out = AsciiLower(text ? text : "application/octet-stream");
  g_free(text);
  return out;
}

// The header block, without the "From " line that a mail kept in mbox form
// starts with: that line is the mailbox's, not a header.
std::string HeaderBlockOf(std::string_view bytes) {
  if (bytes.starts_with("From ")) {
    const auto line_end = bytes.find('\n');
    bytes.remove_prefix(line_end == std::string_view::npos ? bytes.size() : line_end + 1);
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') return std::string(bytes.substr(0, i + 1));
    if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n')
      return std::string(bytes.substr(0, i + 1));
  }
  return std::string(bytes);
}

MessageContent ReadMessage(GMimeMessage* message, std::string headers, bool crlf,
                           const std::shared_ptr<const MailBytes>& mail, bool hold_bodies);

// The header block of an attached message as it is written: only its start
// is kept.
std::string HeaderBlockOf(const ByteSource& message) {
  std::string start;
  bool whole = false;
  message.WriteTo([&](std::string_view piece) {
    if (whole) return;
    const std::size_t searched = start.size() < 3 ? 0 : start.size() - 3;
    start += piece;
    whole = start.find("\n\n", searched) != std::string::npos ||
            start.find("\n\r\n", searched) != std::string::npos;
  });
  return HeaderBlockOf(std::string_view(start));
}

class PartWalker {
 public:
  PartWalker(MessageContent& content, bool crlf, const std::shared_ptr<const MailBytes>& mail,
             bool hold_bodies)
      : content_(content), crlf_(crlf), mail_(mail), hold_bodies_(hold_bodies) {}

  // alternative: the parts are forms of one text, so only the first text
  // and HTML parts count; elsewhere each further text part is more of the
  // body.
  void Walk(GMimeObject* object, bool alternative = false) {
    if (GMIME_IS_MULTIPART(object)) {
      GMimeMultipart* multipart = GMIME_MULTIPART(object);
      const bool parts_are_alternatives = MimeType(object) == "multipart/alternative";
      const int count = g_mime_multipart_get_count(multipart);
      for (int i = 0; i < count; ++i)
        Walk(g_mime_multipart_get_part(multipart, i), parts_are_alternatives);
    } else if (GMIME_IS_MESSAGE_PART(object)) {
      AddMessage(GMIME_MESSAGE_PART(object));
    } else if (GMIME_IS_PART(object)) {
      AddPart(GMIME_PART(object), alternative);
    }
  }

  void JoinTextBody() {
    if (text_parts_.size() == 1) {
      content_.text_body = std::move(text_parts_.front());
    } else if (!text_parts_.empty()) {
      auto joined = std::make_shared<const JoinedText>(std::move(text_parts_));
      content_.text_body = hold_bodies_ ? std::make_shared<const HeldBytes>(WholeBytes(*joined))
                                        : std::shared_ptr<const ByteSource>(std::move(joined));
    }
  }

 private:
  void AddMessage(GMimeMessagePart* part) {
    GMimeMessage* message = g_mime_message_part_get_message(part);
    MessageAttachment attachment;
    attachment.mime_type = "message/rfc822";
    attachment.content_id = StripAngles(RawHeader(GMIME_OBJECT(part), "Content-Id"));
    if (message) {
      attachment.data = AttachedMessage(GMIME_OBJECT(message), crlf_, mail_);
      auto inner = std::make_shared<MessageContent>(
          ReadMessage(message, HeaderBlockOf(*attachment.data), crlf_, mail_, hold_bodies_));
      if (!inner->subject.empty()) attachment.file_name = inner->subject + ".eml";
      attachment.message = std::move(inner);
    }
    Add(std::move(attachment));
  }

  // A part without a name that is not marked as an attachment is the body
  // where it can be: the first text and the first HTML part, and further
  // text parts outside an alternative. Further forms of a text already taken
  // are dropped; any other part (an inline image, a second HTML part, a
  // calendar) is kept as an attachment, so nothing of the mail is lost.
  void AddPart(GMimePart* part, bool alternative) {
    GMimeObject* object = GMIME_OBJECT(part);
    std::string name = PartName(object);
    const std::string type = MimeType(object);
    if (name.empty() && !IsAttachmentDisposition(object)) {
      if (type == "text/plain") {
        if (text_parts_.empty() || !alternative) AddToTextBody(BodyText(part));
        return;
      }
      if (type == "text/html" && !content_.html_body) {
        content_.html_body = HeldBodyText(part, mail_);
        return;
      }
      if (type == "text/html" && alternative) return;
    }
    MessageAttachment attachment;
    attachment.file_name = std::move(name);
    attachment.mime_type = type;
    if (const char* id = g_mime_object_get_content_id(object)) attachment.content_id = id;
    attachment.data = PartContent(part, mail_);
    Add(std::move(attachment));
  }

  std::shared_ptr<const ByteSource> BodyText(GMimePart* part) const {
    if (hold_bodies_) return std::make_shared<const HeldBytes>(HeldBodyText(part, mail_));
    const auto content = PartContent(part, mail_);
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
      g_snprintf(number.data(), number.size(), "ATT%05d", ++unnamed_);
      attachment.file_name = std::string(number.data()) + ExtensionOfMimeType(attachment.mime_type);
    }
    content_.attachments.push_back(std::move(attachment));
  }

  MessageContent& content_;
  bool crlf_;
  const std::shared_ptr<const MailBytes>& mail_;
  bool hold_bodies_;
  std::vector<std::shared_ptr<const ByteSource>> text_parts_;
  std::optional<char> last_text_byte_;
  int unnamed_ = 0;
};

MessageContent ReadMessage(GMimeMessage* message, std::string headers, bool crlf,
                           const std::shared_ptr<const MailBytes>& mail, bool hold_bodies) {
  MessageContent content;
  GMimeObject* object = GMIME_OBJECT(message);
  content.headers = std::move(headers);
  content.subject = DecodeHeaderText(RawHeader(object, "Subject"));
  content.from = ParseAddressList(RawHeader(object, "From"));
  content.to = ParseAddressList(RawHeader(object, "To"));
  content.cc = ParseAddressList(RawHeader(object, "Cc"));
  content.bcc = ParseAddressList(RawHeader(object, "Bcc"));
  content.message_id = StripAngles(RawHeader(object, "Message-Id"));
  const std::string date = RawHeader(object, "Date");
  if (!date.empty())
    if (GDateTime* parsed = g_mime_utils_header_decode_date(date.c_str())) {
      content.date = g_date_time_to_unix(parsed);
      g_date_time_unref(parsed);
    }
  if (GMimeObject* body = g_mime_message_get_mime_part(message)) {
    PartWalker walker(content, crlf, mail, hold_bodies);
    walker.Walk(body);
    walker.JoinTextBody();
  }
  return content;
}

}  // namespace

MessageContent ReadMessageContent(const std::shared_ptr<const MailBytes>& mail,
                                  std::uint64_t largest_held_bodies) {
  GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(mail->Stream()));
  // The parts refer to ranges of the mail's stream instead of copies.
  g_mime_parser_set_persist_stream(parser.get(), TRUE);
  GObjectPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
  if (!message) return MessageContent{};
  const std::string_view bytes = mail->View();
  MessageContent content = ReadMessage(message.get(), HeaderBlockOf(bytes),
                                       bytes.find("\r\n") != std::string_view::npos, mail,
                                       bytes.size() < largest_held_bodies);
  content.mail_size = bytes.size();
  return content;
}

MessageContent ReadMessageContent(std::string_view bytes, std::uint64_t largest_held_bodies) {
  return ReadMessageContent(MailBytes::Copy(bytes), largest_held_bodies);
}

std::string ExtensionOfMimeType(std::string_view mime_type) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 24> kKnown{{
      {"text/plain", ".txt"}, {"text/html", ".html"}, {"text/csv", ".csv"},
      {"text/calendar", ".ics"}, {"text/xml", ".xml"}, {"application/xml", ".xml"},
      {"application/pdf", ".pdf"}, {"application/zip", ".zip"}, {"application/json", ".json"},
      {"application/msword", ".doc"}, {"application/vnd.ms-excel", ".xls"},
      {"application/rtf", ".rtf"}, {"message/rfc822", ".eml"}, {"image/png", ".png"},
      {"image/jpeg", ".jpg"}, {"image/gif", ".gif"}, {"image/bmp", ".bmp"},
      {"image/tiff", ".tif"}, {"image/svg+xml", ".svg"}, {"audio/mpeg", ".mp3"},
      {"audio/wav", ".wav"}, {"video/mp4", ".mp4"}, {"text/rtf", ".rtf"},
      {"application/gzip", ".gz"},
  }};
  const std::string type = AsciiLower(mime_type);
  for (const auto& [known, extension] : kKnown)
    if (known == type) return std::string(extension);
  return ".bin";
}

}  // namespace qs::dirstore

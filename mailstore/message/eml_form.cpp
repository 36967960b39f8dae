#include "mailstore/message/eml_form.h"

#include <string>
#include <vector>

#include "mailstore/encodings/base64_encoder.h"
#include "mailstore/encodings/line_ends.h"
#include "mailstore/encodings/quoted_printable_encoder.h"
#include "mailstore/message/eml_boundary.h"
#include "mailstore/message/eml_header.h"
#include "mailstore/message/eml_transport_headers.h"
#include "platform/text.h"

namespace qs {

namespace {

using eml::Parameters;

// A part of the tree: a leaf with its body, or a multipart of parts.
struct Part {
  std::string fields;  // a leaf's Content-* fields, CRLF ended
  // A leaf's body, given the level a multipart inside it is at.
  std::function<void(const ByteSink&, int level)> body;
  std::string multipart;  // "mixed", "related", "alternative"; empty for a leaf
  Parameters parameters;  // of a multipart, beside its boundary
  std::vector<Part> parts;
};

// The first and last instants the Date field can write (years 1900 to 9999).
constexpr long long kFirstDate = -2208988800;
constexpr long long kLastDate = 253402300799;

bool TokenByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte > 0x20 && byte < 0x7F && std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
}

// The attachment's MIME type where it is one a leaf of data can have.
std::string DataType(std::string_view mime_type) {
  const std::size_t slash = mime_type.find('/');
  const bool formed = slash != std::string_view::npos && slash > 0 && slash + 1 < mime_type.size() &&
                      mime_type.find('/', slash + 1) == std::string_view::npos;
  bool tokens = formed;
  for (const char c : mime_type) tokens = tokens && (c == '/' || TokenByte(c));
  // A message or multipart type would have its bytes read as parts.
  if (!tokens || mime_type.starts_with("message/") || mime_type.starts_with("multipart/"))
    return "application/octet-stream";
  return std::string(mime_type);
}

// Text mostly outside ASCII is shorter in base64.
bool MostlyEightBit(std::string_view text) {
  std::size_t high = 0;
  for (const char c : text) high += static_cast<unsigned char>(c) >= 0x80;
  return high * 6 > text.size();
}

Part TextPart(std::shared_ptr<const std::string> text, std::string_view subtype) {
  const bool base64 = MostlyEightBit(*text);
  Part part;
  part.fields = eml::ParameterField("Content-Type", "text/" + std::string(subtype), {{"charset", "utf-8"}}) +
                "Content-Transfer-Encoding: " + (base64 ? "base64" : "quoted-printable") + "\r\n";
  part.body = [text, base64](const ByteSink& sink, int) {
    if (!base64) return WriteQuotedPrintable(*text, sink);
    Base64Lines lines(sink);
    WriteWithCrLf(*text, [&lines](std::string_view piece) { lines.Write(piece); });
    lines.Finish();
  };
  return part;
}

Part Multipart(std::string subtype, std::vector<Part> parts, Parameters parameters = {}) {
  Part part;
  part.multipart = std::move(subtype);
  part.parameters = std::move(parameters);
  part.parts = std::move(parts);
  return part;
}

// An attached message is named as its subject, as a MIME message file.
std::string MessageFileName(const MessageAttachment& attachment) {
  std::string name = attachment.file_name;
  if (name.size() > 4 && EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".msg")) name.resize(name.size() - 4);
  return name + ".eml";
}

class Writer {
 public:
  Writer(const EmlForm::TextOfHtml& text_of_html, const ByteSink& sink)
      : text_of_html_(text_of_html), sink_(sink) {}

  void Message(const MessageContent& message, std::optional<long long> date, int level, int depth) {
    std::string fields = message.headers.empty() ? std::string() : eml::KeptTransportHeaders(message.headers);
    if (fields.empty()) fields = MadeFields(message, date);
    sink_(fields);
    sink_("MIME-Version: 1.0\r\n");
    Write(Body(message, depth), level, eml::HashOf(fields));
  }

 private:
  static std::string MadeFields(const MessageContent& message, std::optional<long long> date) {
    std::string fields;
    if (date && *date >= kFirstDate && *date <= kLastDate)
      fields += eml::UnstructuredField("Date", eml::DateText(*date));
    fields += eml::AddressField("From", message.from);
    fields += eml::AddressField("To", message.to);
    fields += eml::AddressField("Cc", message.cc);
    fields += eml::AddressField("Bcc", message.bcc);
    if (!message.subject.empty()) fields += eml::UnstructuredField("Subject", message.subject);
    fields += eml::MessageIdField("Message-ID", message.message_id);
    fields += eml::MessageIdField("In-Reply-To", message.in_reply_to);
    return fields;
  }

  Part Body(const MessageContent& message, int depth) {
    std::shared_ptr<const std::string> text;
    if (message.text_body) {
      text = std::make_shared<const std::string>(WholeBytes(*message.text_body));
    } else if (message.html_body && text_of_html_) {
      if (const std::shared_ptr<const ByteSource> made = text_of_html_(message))
        text = std::make_shared<const std::string>(WholeBytes(*made));
    }
    std::shared_ptr<const std::string> html;
    if (message.html_body) html = std::make_shared<const std::string>(*message.html_body);
    Part body = html && text ? Multipart("alternative", {TextPart(text, "plain"), TextPart(html, "html")})
                : html       ? TextPart(html, "html")
                             : TextPart(text ? text : std::make_shared<const std::string>(), "plain");
    std::vector<Part> pictures, attachments;
    for (const MessageAttachment& attachment : message.attachments) {
      const bool shown = !attachment.message && html && eml::IsPlainId(attachment.content_id) &&
                         html->find("cid:" + attachment.content_id) != std::string::npos;
      (shown ? pictures : attachments).push_back(AttachmentPart(attachment, shown, depth));
    }
    if (!pictures.empty()) {
      const std::string root_type = body.multipart.empty() ? "text/html" : "multipart/alternative";
      pictures.insert(pictures.begin(), std::move(body));
      body = Multipart("related", std::move(pictures), {{"type", root_type}});
    }
    if (!attachments.empty()) {
      attachments.insert(attachments.begin(), std::move(body));
      body = Multipart("mixed", std::move(attachments));
    }
    return body;
  }

  Part AttachmentPart(const MessageAttachment& attachment, bool shown, int depth) {
    Part part;
    if (attachment.message) {
      part.fields = "Content-Type: message/rfc822\r\n" +
                    eml::ParameterField("Content-Disposition", "attachment",
                                        {{"filename", MessageFileName(attachment)}});
      std::shared_ptr<const MessageContent> message = attachment.message;
      part.body = [this, message, depth](const ByteSink&, int level) {
        const bool within = depth + 1 < kDeepestEmlMessage;
        const MessageContent empty;
        const MessageContent& written = within ? *message : empty;
        Message(written, written.date ? written.date : written.received, level, depth + 1);
      };
      return part;
    }
    part.fields = eml::ParameterField("Content-Type", DataType(attachment.mime_type), {{"name", attachment.file_name}}) +
                  "Content-Transfer-Encoding: base64\r\n" +
                  eml::ParameterField("Content-Disposition", shown ? "inline" : "attachment",
                                      {{"filename", attachment.file_name}}) +
                  eml::MessageIdField("Content-ID", attachment.content_id);
    std::shared_ptr<const ByteSource> data = attachment.data;
    part.body = [data](const ByteSink& sink, int) { WriteBase64Lines(*data, sink); };
    return part;
  }

  void Write(const Part& part, int level, std::uint64_t hash) {
    if (part.multipart.empty()) {
      sink_(part.fields);
      sink_("\r\n");
      return part.body(sink_, level);
    }
    hash = eml::HashOf(part.multipart, hash);
    for (const Part& inner : part.parts) hash = eml::HashOf(inner.fields + inner.multipart, hash);
    const std::string boundary = eml::Boundary(level, hash);
    Parameters parameters{{"boundary", boundary}};
    parameters.insert(parameters.end(), part.parameters.begin(), part.parameters.end());
    sink_(eml::ParameterField("Content-Type", "multipart/" + part.multipart, parameters));
    sink_("\r\n");
    for (const Part& inner : part.parts) {
      sink_("--" + boundary + "\r\n");
      Write(inner, level + 1, hash);
      sink_("\r\n");
    }
    sink_("--" + boundary + "--\r\n");
  }

  const EmlForm::TextOfHtml& text_of_html_;
  const ByteSink& sink_;
};

}  // namespace

void EmlForm::WriteTo(const ByteSink& sink) const {
  Writer(text_of_html_, sink).Message(content_, content_.date ? content_.date : arrival_, 0, 0);
}

}  // namespace qs

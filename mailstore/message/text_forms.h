#pragma once
// The text, RTF and HTML forms of a message, made in pieces as they are
// written, so that a large body is never held whole. Each refers to the
// content and facts it is made from, which must outlive it.

#include <memory>
#include <string>
#include <string_view>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"

namespace qs {

// The text body, else the HTML body read as text (held), "\n" line ends.
std::shared_ptr<const ByteSource> BodyAsText(const MessageContent& content);

class MessageForm : public ByteSource {
 public:
  MessageForm(const MessageContent& content, const ItemFacts& facts)
      : content_(content), facts_(facts) {}

 protected:
  const MessageContent& content_;
  const ItemFacts& facts_;
};

// The header block, a blank line, the body; UTF-8 with CRLF line ends.
class TextForm final : public MessageForm {
 public:
  using MessageForm::MessageForm;
  void WriteTo(const ByteSink& sink) const override;
};

// The same as an RTF document: labels bold, characters outside ASCII as
// Unicode escapes.
class RichTextForm final : public MessageForm {
 public:
  using MessageForm::MessageForm;
  void WriteTo(const ByteSink& sink) const override;
};

// The HTML body declared as UTF-8, its pictures linked to their saved files
// where the facts say where; without one, the text form as an HTML document.
class HtmlForm final : public MessageForm {
 public:
  using MessageForm::MessageForm;
  void WriteTo(const ByteSink& sink) const override;
};

// An HTML text in UTF-8 that says so first, so that a declaration of the
// charset the mail had is not taken.
class Utf8DeclaredHtml final : public ByteSource {
 public:
  explicit Utf8DeclaredHtml(std::string_view html) : html_(html) {}
  void WriteTo(const ByteSink& sink) const override;

 private:
  std::string_view html_;
};

}  // namespace qs

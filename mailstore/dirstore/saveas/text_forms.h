#pragma once
// The text, RTF and HTML forms of a message.

#include <string>

#include "mailstore/dirstore/saveas/item_facts.h"
#include "mailstore/dirstore/saveas/message_content.h"

namespace qs::dirstore {

// The text body, else the HTML body read as text, "\n" line ends.
std::string BodyAsText(const MessageContent& content);

// The header block, a blank line, the body; UTF-8 with CRLF line ends.
std::string TextForm(const MessageContent& content, const ItemFacts& facts);

// The same as an RTF document: labels bold, characters outside ASCII as
// Unicode escapes.
std::string RichTextForm(const MessageContent& content, const ItemFacts& facts);

// An HTML text in UTF-8 that says so first, so that a declaration of the
// charset the mail had is not taken.
std::string WithUtf8Declaration(const std::string& html);

// The HTML body declared as UTF-8; without one, the text form as an HTML
// document.
std::string HtmlForm(const MessageContent& content, const ItemFacts& facts);

}  // namespace qs::dirstore

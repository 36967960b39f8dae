#pragma once
// An HTML body made readable as plain text.

#include <string>
#include <string_view>

namespace qs {

// Paragraphs and block elements on lines of their own, line breaks kept,
// list items bulleted, a link followed by its target when the text does not
// already show it; scripts, styles and the head dropped. "\n" line ends.
std::string HtmlToText(std::string_view html);

}  // namespace qs

// Outlook keeps a text body beside the HTML of every mail, so the Windows
// build reads an HTML body as text only for an item without one: tags are
// taken out, line breaks and block elements make lines, the head, scripts
// and styles are dropped and the common entities decoded, without an HTML
// parser's repair of broken markup.
#include <cctype>
#include <string>

#include "mailstore/html/html_text.h"
#include "platform/text.h"

namespace qs {

namespace {

// The tag's lower-case name, without a leading slash.
std::string TagName(std::string_view tag) {
  std::size_t start = tag.starts_with('/') ? 1 : 0;
  std::size_t end = start;
  while (end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[end]))) ++end;
  return AsciiLower(tag.substr(start, end - start));
}

bool MakesLine(const std::string& name) {
  for (const char* block : {"br", "p", "div", "li", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "table",
                            "ul", "ol", "pre", "blockquote", "hr", "dt", "dd"})
    if (name == block) return true;
  return false;
}

void AppendEntity(std::string& out, std::string_view entity) {
  if (entity == "amp") out += '&';
  else if (entity == "lt") out += '<';
  else if (entity == "gt") out += '>';
  else if (entity == "quot") out += '"';
  else if (entity == "apos") out += '\'';
  else if (entity == "nbsp") out += ' ';
  else if (entity.starts_with('#')) {
    const bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
    const std::string digits(entity.substr(hex ? 2 : 1));
    const unsigned long code = digits.empty() ? 0 : std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
    AppendUtf8(out, code > 0 && code <= 0x10FFFF ? static_cast<char32_t>(code) : U'\uFFFD');
  } else {
    out.append("&").append(entity).append(";");
  }
}

}  // namespace

std::string HtmlToText(std::string_view html) {
  std::string out;
  std::string skipping;  // the element whose content is dropped
  for (std::size_t i = 0; i < html.size();) {
    if (!skipping.empty() && html.substr(i, 2) != "</") {
      // A script's or style's text may hold "<" of its own.
      const auto close = html.find("</", i);
      i = close == std::string_view::npos ? html.size() : close;
    } else if (html.substr(i, 4) == "<!--") {
      const auto end = html.find("-->", i + 4);
      i = end == std::string_view::npos ? html.size() : end + 3;
    } else if (html[i] == '<') {
      const auto end = html.find('>', i);
      const std::string_view tag = html.substr(i + 1, (end == std::string_view::npos ? html.size() : end) - i - 1);
      i = end == std::string_view::npos ? html.size() : end + 1;
      const std::string name = TagName(tag);
      if (!skipping.empty()) {
        if (tag.starts_with('/') && name == skipping) skipping.clear();
      } else if (!tag.starts_with('/') && (name == "head" || name == "script" || name == "style")) {
        skipping = name;
      } else if (MakesLine(name) && !out.empty() && out.back() != '\n') {
        out += '\n';
      }
    } else if (html[i] == '&') {
      const auto end = html.find(';', i);
      if (end == std::string_view::npos || end - i > 10) {
        out += html[i++];
      } else {
        AppendEntity(out, html.substr(i + 1, end - i - 1));
        i = end + 1;
      }
    } else {
      const char c = html[i++];
      if (c == '\r' || c == '\n' || c == '\t') {
        if (!out.empty() && out.back() != ' ' && out.back() != '\n') out += ' ';
      } else {
        out += c;
      }
    }
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

}  // namespace qs

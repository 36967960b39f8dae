#include "mailstore/dirstore/saveas/text_forms.h"

#include <cctype>
#include <cstdint>

#include "mailstore/dirstore/saveas/header_lines.h"
#include "mailstore/dirstore/saveas/html_text.h"

namespace qs::dirstore {

namespace {

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

// Decodes one UTF-8 sequence at i (advancing i); invalid bytes read as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  const std::size_t extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
  if (extra == 0 || i + extra >= text.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t value = lead & (0x3Fu >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    value = (value << 6) | (next & 0x3Fu);
  }
  i += extra + 1;
  return value;
}

// The fallback "?" is written as \'3f: some readers take a bare "?" and the
// letters after it for the escape's parameter and lose them.
void AppendRtfUnit(std::string& out, unsigned unit) {
  out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(unit))) + "\\'3f";
}

std::string RtfEscaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, i);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\par\r\n";
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\r') {
      continue;
    } else if (c < 0x20) {
      // Other control characters, a NUL too, are kept as the bytes they are.
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\'";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x10000) {
      AppendRtfUnit(out, static_cast<unsigned>(c));
    } else {
      const char32_t v = c - 0x10000;
      AppendRtfUnit(out, static_cast<unsigned>(0xD800 + (v >> 10)));
      AppendRtfUnit(out, static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::size_t FindNoCase(std::string_view text, std::string_view what) {
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < what.size() && std::tolower(static_cast<unsigned char>(text[i + k])) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

constexpr std::string_view kMeta = "<meta charset=\"utf-8\">";

}  // namespace

std::string BodyAsText(const MessageContent& content) {
  if (content.text_body) return *content.text_body;
  if (content.html_body) return HtmlToText(*content.html_body);
  return {};
}

std::string TextForm(const MessageContent& content, const ItemFacts& facts) {
  std::string out;
  for (const HeaderLine& line : HeaderLines(content, facts))
    out += line.label + "\t" + line.value + "\n";
  out += "\n" + BodyAsText(content);
  return WithCrLf(out);
}

std::string RichTextForm(const MessageContent& content, const ItemFacts& facts) {
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\f0\\fs20 ";
  for (const HeaderLine& line : HeaderLines(content, facts))
    out += "{\\b " + RtfEscaped(line.label) + "}\\tab " + RtfEscaped(line.value) + "\\par\r\n";
  out += "\\par\r\n" + RtfEscaped(BodyAsText(content)) + "}\r\n";
  return out;
}

std::string WithUtf8Declaration(const std::string& html) {
  const std::size_t head = FindNoCase(html, "<head");
  if (head != std::string::npos) {
    const std::size_t close = html.find('>', head);
    if (close != std::string::npos)
      return html.substr(0, close + 1) + std::string(kMeta) + html.substr(close + 1);
  }
  return std::string(kMeta) + "\n" + html;
}

std::string HtmlForm(const MessageContent& content, const ItemFacts& facts) {
  if (content.html_body) return WithUtf8Declaration(*content.html_body);
  std::string out = "<!DOCTYPE html>\n<html>\n<head>\n" + std::string(kMeta) + "\n<title>" +
                    HtmlEscaped(content.subject) + "</title>\n</head>\n<body>\n<p>\n";
  for (const HeaderLine& line : HeaderLines(content, facts))
    out += "<b>" + HtmlEscaped(line.label) + "</b> " + HtmlEscaped(line.value) + "<br>\n";
  out += "</p>\n<pre>" + HtmlEscaped(BodyAsText(content)) + "</pre>\n</body>\n</html>\n";
  return out;
}

}  // namespace qs::dirstore

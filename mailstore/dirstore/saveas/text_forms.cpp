#include "mailstore/dirstore/saveas/text_forms.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "mailstore/dirstore/saveas/header_lines.h"
#include "mailstore/dirstore/saveas/html_text.h"
#include "mailstore/dirstore/saveas/piece_writer.h"

namespace qs::dirstore {

namespace {

// A lone CR, a lone LF and CR LF each end a line.
void AppendWithCrLf(PieceWriter& out, std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    out += text.substr(0, end);
    if (end == text.size()) return;
    out += "\r\n";
    text.remove_prefix(text.substr(end).starts_with("\r\n") ? end + 2 : end + 1);
  }
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
void AppendRtfUnit(PieceWriter& out, unsigned unit) {
  out += "\\u";
  out += std::to_string(static_cast<int>(static_cast<std::int16_t>(unit)));
  out += "\\'3f";
}

void AppendRtfEscaped(PieceWriter& out, std::string_view text) {
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
}

void AppendHtmlEscaped(PieceWriter& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
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

BodyAsText::BodyAsText(const MessageContent& content) {
  if (content.text_body) {
    body_ = &*content.text_body;
  } else if (content.html_body) {
    read_from_html_ = HtmlToText(*content.html_body);
  }
}

void TextForm::WriteTo(const ByteSink& sink) const {
  PieceWriter out(sink);
  for (const HeaderLine& line : HeaderLines(content_, facts_))
    AppendWithCrLf(out, line.label + "\t" + line.value + "\n");
  out += "\r\n";
  AppendWithCrLf(out, BodyAsText(content_).View());
  out.Flush();
}

void RichTextForm::WriteTo(const ByteSink& sink) const {
  PieceWriter out(sink);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\f0\\fs20 ";
  for (const HeaderLine& line : HeaderLines(content_, facts_)) {
    out += "{\\b ";
    AppendRtfEscaped(out, line.label);
    out += "}\\tab ";
    AppendRtfEscaped(out, line.value);
    out += "\\par\r\n";
  }
  out += "\\par\r\n";
  AppendRtfEscaped(out, BodyAsText(content_).View());
  out += "}\r\n";
  out.Flush();
}

void Utf8DeclaredHtml::WriteTo(const ByteSink& sink) const {
  PieceWriter out(sink);
  std::size_t after_head = std::string_view::npos;
  if (const std::size_t head = FindNoCase(html_, "<head"); head != std::string_view::npos)
    after_head = html_.find('>', head);
  if (after_head == std::string_view::npos) {
    out += kMeta;
    out += '\n';
    out += html_;
  } else {
    out += html_.substr(0, after_head + 1);
    out += kMeta;
    out += html_.substr(after_head + 1);
  }
  out.Flush();
}

void HtmlForm::WriteTo(const ByteSink& sink) const {
  if (content_.html_body) return Utf8DeclaredHtml(*content_.html_body).WriteTo(sink);
  PieceWriter out(sink);
  out += "<!DOCTYPE html>\n<html>\n<head>\n";
  out += kMeta;
  out += "\n<title>";
  AppendHtmlEscaped(out, content_.subject);
  out += "</title>\n</head>\n<body>\n<p>\n";
  for (const HeaderLine& line : HeaderLines(content_, facts_)) {
    out += "<b>";
    AppendHtmlEscaped(out, line.label);
    out += "</b> ";
    AppendHtmlEscaped(out, line.value);
    out += "<br>\n";
  }
  out += "</p>\n<pre>";
  AppendHtmlEscaped(out, BodyAsText(content_).View());
  out += "</pre>\n</body>\n</html>\n";
  out.Flush();
}

}  // namespace qs::dirstore

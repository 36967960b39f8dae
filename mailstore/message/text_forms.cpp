#include "mailstore/message/text_forms.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "mailstore/encodings/byte_scan.h"
#include "mailstore/html/html_text.h"
#include "mailstore/message/code_points.h"
#include "mailstore/message/header_lines.h"
#include "mailstore/message/piece_writer.h"
#include "platform/text.h"

namespace qs {

namespace {

// A lone CR, a lone LF and CR LF each end a line, also where a piece ends
// between the CR and the LF.
class CrLfLines {
 public:
  explicit CrLfLines(PieceWriter& out) : out_(out) {}

  void Take(std::string_view text) {
    if (text.empty()) return;
    if (after_cr_ && text.front() == '\n') text.remove_prefix(1);
    after_cr_ = false;
    while (!text.empty()) {
      const std::size_t end = FindAnyByte<'\r', '\n'>(text, 0);
      out_ += text.substr(0, end);
      if (end == text.size()) return;
      out_ += "\r\n";
      after_cr_ = text[end] == '\r' && end + 1 == text.size();
      text.remove_prefix(text.substr(end).starts_with("\r\n") ? end + 2 : end + 1);
    }
  }

 private:
  PieceWriter& out_;
  bool after_cr_ = false;
};

class RtfEscaped {
 public:
  explicit RtfEscaped(PieceWriter& out) : out_(out) {}
  void Take(std::string_view text) {
    code_points_.Read(text, [this](char32_t c) { Append(c); });
  }
  void Finish() {
    code_points_.Finish([this](char32_t c) { Append(c); });
  }

 private:
  // The fallback "?" is written as \'3f: some readers take a bare "?" and the
  // letters after it for the escape's parameter and lose them.
  void AppendUnit(unsigned unit) {
    out_ += "\\u";
    out_ += std::to_string(static_cast<int>(static_cast<std::int16_t>(unit)));
    out_ += "\\'3f";
  }

  void Append(char32_t c) {
    if (c == '\\' || c == '{' || c == '}') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c == '\n') {
      out_ += "\\par\r\n";
    } else if (c == '\t') {
      out_ += "\\tab ";
    } else if (c == '\r') {
      return;
    } else if (c < 0x20) {
      // Other control characters, a NUL too, are kept as the bytes they are.
      const char byte = static_cast<char>(c);
      char digits[2];
      WriteHexDigits(std::string_view(&byte, 1), digits);
      out_ += "\\'";
      out_ += AsciiLower(digits[0]);
      out_ += AsciiLower(digits[1]);
    } else if (c < 0x80) {
      out_ += static_cast<char>(c);
    } else if (c < 0x10000) {
      AppendUnit(static_cast<unsigned>(c));
    } else {
      const char32_t v = c - 0x10000;
      AppendUnit(static_cast<unsigned>(0xD800 + (v >> 10)));
      AppendUnit(static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    }
  }

  PieceWriter& out_;
  CodePoints code_points_;
};

void AppendRtfEscaped(PieceWriter& out, std::string_view text) {
  RtfEscaped rtf(out);
  rtf.Take(text);
  rtf.Finish();
}

// The text between the characters that need an entity goes out a run at a
// time.
void AppendHtmlEscaped(PieceWriter& out, std::string_view text) {
  std::size_t plain = 0;
  constexpr auto next = FindAnyByte<'&', '<', '>', '"'>;
  for (std::size_t i = next(text, 0); i < text.size(); i = next(text, i + 1)) {
    std::string_view entity;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      default: entity = "&quot;"; break;
    }
    out += text.substr(plain, i - plain);
    out += entity;
    plain = i + 1;
  }
  out += text.substr(plain);
}

std::size_t FindNoCase(std::string_view text, std::string_view what) {
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < what.size() && AsciiLower(text[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

constexpr std::string_view kMeta = "<meta charset=\"utf-8\">";

}  // namespace

std::shared_ptr<const ByteSource> BodyAsText(const MessageContent& content) {
  if (content.text_body) return content.text_body;
  return std::make_shared<const HeldBytes>(content.html_body ? HtmlToText(*content.html_body)
                                                             : std::string());
}

void TextForm::WriteTo(const ByteSink& sink) const {
  PieceWriter out(sink);
  CrLfLines header(out);
  ForEachHeaderLine(content_, facts_, [&header](std::string_view label, std::string_view value) {
    header.Take(label);
    header.Take("\t");
    header.Take(value);
    header.Take("\n");
  });
  out += "\r\n";
  CrLfLines body(out);
  BodyAsText(content_)->WriteTo([&body](std::string_view piece) { body.Take(piece); });
  out.Flush();
}

void RichTextForm::WriteTo(const ByteSink& sink) const {
  PieceWriter out(sink);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\f0\\fs20 ";
  ForEachHeaderLine(content_, facts_, [&out](std::string_view label, std::string_view value) {
    out += "{\\b ";
    AppendRtfEscaped(out, label);
    out += "}\\tab ";
    AppendRtfEscaped(out, value);
    out += "\\par\r\n";
  });
  out += "\\par\r\n";
  RtfEscaped body(out);
  BodyAsText(content_)->WriteTo([&body](std::string_view piece) { body.Take(piece); });
  body.Finish();
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
  if (content_.html_body) {
    if (!facts_.picture_links || facts_.picture_links->empty())
      return Utf8DeclaredHtml(*content_.html_body).WriteTo(sink);
    const std::string linked = LinkPictures(*content_.html_body, *facts_.picture_links);
    return Utf8DeclaredHtml(linked).WriteTo(sink);
  }
  PieceWriter out(sink);
  out += "<!DOCTYPE html>\n<html>\n<head>\n";
  out += kMeta;
  out += "\n<title>";
  AppendHtmlEscaped(out, content_.subject);
  out += "</title>\n</head>\n<body>\n<p>\n";
  ForEachHeaderLine(content_, facts_, [&out](std::string_view label, std::string_view value) {
    out += "<b>";
    AppendHtmlEscaped(out, label);
    out += "</b> ";
    AppendHtmlEscaped(out, value);
    out += "<br>\n";
  });
  out += "</p>\n<pre>";
  BodyAsText(content_)->WriteTo([&out](std::string_view piece) { AppendHtmlEscaped(out, piece); });
  out += "</pre>\n</body>\n</html>\n";
  out.Flush();
}

}  // namespace qs

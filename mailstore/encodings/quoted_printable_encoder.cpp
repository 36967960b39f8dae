#include "mailstore/encodings/quoted_printable_encoder.h"

#include "platform/text.h"

namespace qs {

namespace {

constexpr std::size_t kLineLength = 76;

// One line of the text, without its break, onto out.
void EncodeLine(std::string_view line, std::string& out) {
  std::size_t column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    const bool last = i + 1 == line.size();
    const bool blank = byte == ' ' || byte == '\t';
    const bool literal = (byte >= 33 && byte <= 126 && byte != '=') || (blank && !last);
    const std::size_t width = literal ? 1 : 3;
    // Room is kept for the "=" of a soft break, unless this is the line's
    // last character.
    if (column + width > (last ? kLineLength : kLineLength - 1)) {
      out += "=\r\n";
      column = 0;
    }
    if (literal) {
      out += static_cast<char>(byte);
    } else {
      char escape[3] = {'='};
      WriteHexDigits(std::string_view(&line[i], 1), escape + 1);
      out.append(escape, sizeof escape);
    }
    column += width;
  }
}

}  // namespace

void WriteQuotedPrintable(std::string_view text, const ByteSink& sink) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool broken = end != std::string_view::npos;
    if (!broken) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (broken && line.ends_with('\r')) line.remove_suffix(1);
    EncodeLine(line, out);
    if (broken) out += "\r\n";
    start = end + 1;
    if (out.size() >= 1 << 16) {
      sink(out);
      out.clear();
    }
  }
  sink(out);
}

std::string QuotedPrintable(std::string_view text) {
  std::string out;
  WriteQuotedPrintable(text, [&out](std::string_view piece) { out += piece; });
  return out;
}

}  // namespace qs

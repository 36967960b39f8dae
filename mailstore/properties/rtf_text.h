#pragma once
// The text of an RTF body, for messages that keep their body only as RTF.
// An RTF body that wraps an HTML or a plain-text body (\fromhtml1,
// \fromtext) gives back what it wraps; any other gives its text, paragraphs
// and line breaks as line ends, tables' cells separated by tabs.

#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

struct RtfText {
  enum class Kind { Html, Text };
  Kind kind = Kind::Text;
  std::string text;  // UTF-8, CR LF line ends
};

// Characters written as bytes (\'e9, or a byte above 0x7F) are in the code
// page the document names (\ansicpg), else in fallback_code_page. Never
// fails: what cannot be read is left out, and the text is never longer
// than four bytes for each byte of the document.
RtfText ReadRtfText(std::string_view rtf, std::uint32_t fallback_code_page);

}  // namespace qs

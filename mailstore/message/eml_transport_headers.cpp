#include "mailstore/message/eml_transport_headers.h"

#include "platform/text.h"

namespace qs::eml {

namespace {

constexpr std::size_t kLongestLine = 998;

bool MimeStructureField(std::string_view name) {
  for (std::string_view field : {"MIME-Version", "Content-Type", "Content-Transfer-Encoding", "Content-Length"})
    if (EqualsIgnoringAsciiCase(name, field)) return true;
  return false;
}

// The field name of a line that starts a field; empty for any other line.
std::string_view FieldName(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  const std::string_view name = TrimBlanks(line.substr(0, colon));
  if (name.empty() || name.starts_with("--")) return {};
  for (const char c : name)
    if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) return {};
  return name;
}

// The line, folded so that no piece is longer than 998 octets.
void AppendFolded(std::string_view line, std::string& out) {
  while (line.size() > kLongestLine) {
    // Before the last blank that leaves something on the line, else anywhere.
    std::size_t cut = line.find_last_of(" \t", kLongestLine);
    const bool at_blank = cut != std::string_view::npos && cut > 0 &&
                          line.find_first_not_of(" \t") < cut;
    if (!at_blank) cut = kLongestLine - 1;
    out.append(line.substr(0, cut));
    out += at_blank ? "\r\n" : "\r\n ";
    line.remove_prefix(cut);
  }
  out.append(line);
  out += "\r\n";
}

}  // namespace

std::string KeptTransportHeaders(std::string_view headers) {
  std::string kept;
  bool keeping = false;  // whether the field the last line belongs to is kept
  for (std::size_t start = 0; start < headers.size();) {
    std::size_t end = headers.find('\n', start);
    if (end == std::string_view::npos) end = headers.size();
    std::string line(headers.substr(start, end - start));
    start = end + 1;
    if (line.ends_with('\r')) line.pop_back();
    for (char& c : line)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
    if (TrimBlanks(line).empty()) {
      if (kept.empty() && line.empty()) continue;  // blank lines before the block
      if (line.empty()) break;
      continue;  // a line of blanks alone continues nothing
    }
    if (line[0] == ' ' || line[0] == '\t') {
      if (keeping) AppendFolded(line, kept);
      continue;
    }
    const std::string_view name = FieldName(line);
    keeping = !name.empty() && !MimeStructureField(name);
    // Blanks before the colon (an old form) are dropped: readers take the
    // name as ending at the colon.
    if (keeping) AppendFolded(std::string(name) + line.substr(line.find(':')), kept);
  }
  return kept;
}

}  // namespace qs::eml

#include "mailstore/mime/mime_tree.h"

#include "mailstore/mime/header_block.h"
#include "mailstore/mime/header_parameter.h"
#include "platform/text.h"

namespace qs {

namespace {

constexpr auto npos = std::string_view::npos;

// One line of the data without its line end (LF or CR LF), and where the
// line after it starts.
struct Line {
  std::string_view text;
  std::size_t next = 0;
};

Line LineAt(std::string_view data, std::size_t at) {
  const std::size_t feed = data.find('\n', at);
  std::string_view text = data.substr(at, feed == npos ? npos : feed - at);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return {text, feed == npos ? data.size() : feed + 1};
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The content type of a part: "type/subtype" of two tokens, in lower case.
// A field that names none is read as text/plain, as RFC 2045 asks.
std::string ContentType(const MimePart& part, std::string_view default_type) {
  const std::string field = part.Header("Content-Type");
  if (field.empty()) return std::string(default_type);
  const std::string type = AsciiLower(HeaderValue(field));
  const std::size_t slash = type.find('/');
  const bool valid = slash != npos && slash > 0 && slash + 1 < type.size() &&
                     type.find('/', slash + 1) == npos &&
                     type.find_first_of(" \t()<>@,;:\\\"[]?=") == npos;
  return valid ? type : "text/plain";
}

// Where the line that starts at `at` is a boundary line of `dash_boundary`
// ("--" and the boundary): the line after it, and whether it closes the
// multipart. Blanks may follow the boundary; nothing else may.
struct Delimiter {
  std::size_t next = npos;
  bool closes = false;
};

Delimiter DelimiterAt(std::string_view data, std::size_t at, std::string_view dash_boundary) {
  const Line line = LineAt(data, at);
  if (line.text.size() < dash_boundary.size()) return {};
  std::string_view rest = line.text.substr(dash_boundary.size());
  const bool closes = rest.starts_with("--");
  if (closes) rest.remove_prefix(2);
  for (const char c : rest)
    if (!IsBlank(c)) return {};
  return {line.next, closes};
}

// The end of a part's body before a boundary line starting at `at`: the line
// end before the boundary belongs to the boundary.
std::size_t BodyEndBefore(std::string_view data, std::size_t at, std::size_t body_start) {
  std::size_t end = at;
  if (end > body_start && data[end - 1] == '\n') --end;
  if (end > body_start && data[end - 1] == '\r') --end;
  return end;
}

MimePart ReadPart(std::string_view data, std::string_view default_type, int depth);

void SplitMultipart(MimePart& part, int depth) {
  const std::string boundary = HeaderParameter(part.Header("Content-Type"), "boundary");
  if (boundary.empty() || depth >= kDeepestMimeNesting) return;
  const std::string dash_boundary = "--" + boundary;
  const std::string_view default_type =
      part.type == "multipart/digest" ? "message/rfc822" : "text/plain";
  const std::string_view body = part.body;
  std::size_t part_start = npos;  // none before the first boundary line
  for (std::size_t at = body.find(dash_boundary); at != npos;
       at = body.find(dash_boundary, at + 1)) {
    if (at > 0 && body[at - 1] != '\n') continue;
    const Delimiter delimiter = DelimiterAt(body, at, dash_boundary);
    if (delimiter.next == npos) continue;
    if (part_start != npos) {
      const std::size_t end = BodyEndBefore(body, at, part_start);
      part.parts.push_back(
          ReadPart(body.substr(part_start, end - part_start), default_type, depth + 1));
    }
    if (delimiter.closes) return;
    part_start = delimiter.next;
    at = delimiter.next - 1;
  }
  // A multipart cut off before its closing boundary ends with the data.
  if (part_start != npos)
    part.parts.push_back(ReadPart(body.substr(part_start), default_type, depth + 1));
}

MimePart ReadPart(std::string_view data, std::string_view default_type, int depth) {
  MimePart part;
  part.depth = depth;
  part.fields.reserve(16);  // most header blocks have fewer fields
  const HeaderBlockEnd end =
      ForEachHeaderField(data, [&part](std::string_view name, std::string_view lines) {
        part.fields.push_back({name, lines});
      });
  part.header_block = data.substr(0, end.fields);
  part.body = data.substr(end.body);
  part.type = ContentType(part, default_type);
  if (part.IsMultipart()) SplitMultipart(part, depth);
  return part;
}

}  // namespace

std::string MimePart::Header(std::string_view name) const {
  for (const Field& field : fields)
    if (EqualsIgnoringAsciiCase(field.name, name)) return UnfoldedValue(field.lines);
  return {};
}

MimePart ReadMimeTree(std::string_view message, int depth) {
  return ReadPart(WithoutMboxLine(message), "text/plain", depth);
}

}  // namespace qs

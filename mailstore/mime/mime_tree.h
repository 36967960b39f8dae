#pragma once
// The MIME structure of a mail (RFC 2045, 2046), read straight from its
// bytes: each part is its header block and its body as ranges of the mail,
// so nothing is copied or decoded until a form of the mail is written.

#include <string>
#include <string_view>
#include <vector>

#include "mailstore/mime/header_block.h"

namespace qs {

struct MimePart {
  // The header lines with their line ends, up to the empty line.
  std::string_view header_block;
  // The fields of the header block in order, as ForEachHeaderField gives
  // them.
  using Field = HeaderField;
  std::vector<Field> fields;
  // After the empty line; of a part in a multipart, up to the line end
  // before the next boundary line, which belongs to the boundary.
  std::string_view body;
  // "type/subtype" in lower case: the Content-Type's, else the default
  // (text/plain, or message/rfc822 in a multipart/digest).
  std::string type;
  // Of a multipart, in order. A multipart without a boundary, or nested
  // deeper than kDeepestMimeNesting, has none and is read as a leaf.
  std::vector<MimePart> parts;
  // How many multiparts and attached messages hold the part.
  int depth = 0;

  // The value of the first field of this name (in any letter case),
  // unfolded, blanks at either end taken off; empty when there is none.
  std::string Header(std::string_view name) const;
  bool IsMultipart() const { return type.starts_with("multipart/"); }
};

// Multiparts and attached messages nested deeper than this are not taken
// apart, so that hostile mail cannot exhaust the stack.
inline constexpr int kDeepestMimeNesting = 32;

// Never fails: any bytes are some message. A leading mbox "From " line is
// not a header. depth: how deep the message lies in the mail it came from.
MimePart ReadMimeTree(std::string_view message, int depth = 0);

}  // namespace qs

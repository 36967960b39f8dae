#pragma once
// The few header fields the search needs, picked out of a message's header
// block by a hand-written scan: reading only the header block and skipping a
// full MIME parse keeps a search close to the cost of reading the files.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// Unfolded raw values of the first occurrence of each field; empty when the
// field is absent. The values are views of one copy of them that the
// headers own, so the headers may be moved but not copied.
struct RawHeaders {
  std::string_view date;
  std::string_view received;
  std::string_view from;
  std::string_view to;
  std::string_view subject;
  std::string_view content_type;
  std::string_view content_class;
  std::string_view x_unsent;
  std::unique_ptr<char[]> values;  // what the views show
};

// The message without the line an mbox file puts before it ("From sender
// date"), if it starts with one; "From : x" is a field, not that line.
std::string_view WithoutMboxLine(std::string_view message);

// Where a header block ends: before its empty line, and where the body after
// that line starts. Without an empty line both are the end of the data.
struct HeaderBlockEnd {
  std::size_t fields = 0;
  std::size_t body = 0;
};

// Calls take(name, lines) for each field of the header block that data
// starts with, in order: the name without blanks before its colon, and the
// value's lines as they stand (from after the colon to the end of its last
// continuation line, the line ends between them kept). Lines that start no
// field, and their continuations, are passed over.
using FieldTaker = std::function<void(std::string_view name, std::string_view lines)>;
HeaderBlockEnd ForEachHeaderField(std::string_view data, const FieldTaker& take);

// A field's lines as one value: the line ends between them taken out, the
// blanks at either end too.
std::string UnfoldedValue(std::string_view lines);

// The same value written at out, which has room for lines.size() bytes: a
// view of the value within what was written.
std::string_view UnfoldInto(std::string_view lines, char* out);

// Scans a header block (which may run on into the body: the scan stops at
// the first empty line).
RawHeaders ScanHeaders(std::string_view block);

// A field as ForEachHeaderField gives it.
struct HeaderField {
  std::string_view name;
  std::string_view lines;
};

// What ScanHeaders finds in a header block, from its fields already split.
RawHeaders PickHeaders(const std::vector<HeaderField>& fields);

class FileDescriptor;

// Reads the open file up to the end of its header block, and scans that.
// Throws ItemUnreadable, naming the file as folder/name, when it cannot be
// read.
RawHeaders ReadHeaders(const FileDescriptor& file, std::string_view folder, std::string_view name);

}  // namespace qs

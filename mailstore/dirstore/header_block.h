#pragma once
// The few header fields the search needs, picked out of a message's header
// block by a hand-written scan: reading only the header block and skipping a
// full MIME parse keeps a search close to the cost of reading the files.

#include <string>
#include <string_view>

namespace qs::dirstore {

// Unfolded raw values of the first occurrence of each field; empty when the
// field is absent.
struct RawHeaders {
  std::string date;
  std::string received;
  std::string from;
  std::string to;
  std::string subject;
  std::string content_type;
  std::string content_class;
  std::string x_unsent;
};

// Whether a mail's first line is the line an mbox file puts before each
// message ("From sender date"), which is no field: "From : x" is one.
bool IsMboxFromLine(std::string_view line);

// Scans a header block (which may run on into the body: the scan stops at
// the first empty line).
RawHeaders ScanHeaders(std::string_view block);

class Directory;

// Reads the file (name: a path below the directory) up to the end of its
// header block, and scans that. Throws ItemGone when the file is no longer
// there, MailStoreError when it cannot be read.
RawHeaders ReadHeaders(const Directory& directory, const std::string& name);

}  // namespace qs::dirstore

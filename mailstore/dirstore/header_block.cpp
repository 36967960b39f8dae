#include "mailstore/dirstore/header_block.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/mail_store.h"
#include "platform/posix/file_descriptor.h"
#include "platform/text.h"

namespace qs::dirstore {

namespace {

std::string* FieldFor(RawHeaders& headers, std::string_view name) {
  switch (name.size()) {
    case 2: return EqualsIgnoringAsciiCase(name, "to") ? &headers.to : nullptr;
    case 4:
      if (EqualsIgnoringAsciiCase(name, "date")) return &headers.date;
      return EqualsIgnoringAsciiCase(name, "from") ? &headers.from : nullptr;
    case 7: return EqualsIgnoringAsciiCase(name, "subject") ? &headers.subject : nullptr;
    case 8:
      if (EqualsIgnoringAsciiCase(name, "received")) return &headers.received;
      return EqualsIgnoringAsciiCase(name, "x-unsent") ? &headers.x_unsent : nullptr;
    case 12: return EqualsIgnoringAsciiCase(name, "content-type") ? &headers.content_type : nullptr;
    case 13: return EqualsIgnoringAsciiCase(name, "content-class") ? &headers.content_class : nullptr;
    default: return nullptr;
  }
}

// The end of the header block: the first empty line, or the end of the data.
std::size_t HeaderEnd(std::string_view data, std::size_t from) {
  for (std::size_t i = from; (i = data.find('\n', i)) != std::string_view::npos; ++i) {
    const std::size_t next = i + 1;
    if (next < data.size() && data[next] == '\n') return next;
    if (next + 1 < data.size() && data[next] == '\r' && data[next + 1] == '\n') return next;
  }
  return std::string_view::npos;
}


}  // namespace

bool IsMboxFromLine(std::string_view line) {
  if (!line.starts_with("From ")) return false;
  const auto after = line.find_first_not_of(" \t", 5);
  return after != std::string_view::npos && line[after] != ':';
}

RawHeaders ScanHeaders(std::string_view block) {
  RawHeaders headers;
  std::string* current = nullptr;  // the field whose lines are being gathered
  bool first_line = true;
  std::size_t line_start = 0;
  while (line_start < block.size()) {
    auto line_end = block.find('\n', line_start);
    if (line_end == std::string_view::npos) line_end = block.size();
    std::string_view line = block.substr(line_start, line_end - line_start);
    line_start = line_end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;
    // An mbox separator line before the headers is not a field.
    if (first_line && IsMboxFromLine(line)) {
      first_line = false;
      continue;
    }
    first_line = false;
    if (line.front() == ' ' || line.front() == '\t') {
      if (current) *current += line;
      continue;
    }
    current = nullptr;
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    std::string* field = FieldFor(headers, name);
    // Only the first occurrence counts; "Received" lines come newest first.
    if (!field || !field->empty()) continue;
    *field = line.substr(colon + 1);
    if (field->empty()) field->push_back(' ');  // present but empty: later copies stay ignored
    current = field;
  }
  for (std::string* field : {&headers.date, &headers.received, &headers.from, &headers.to,
                             &headers.subject, &headers.content_type, &headers.content_class,
                             &headers.x_unsent})
    *field = std::string(TrimBlanks(*field));
  return headers;
}

RawHeaders ReadHeaders(const Directory& directory, const std::string& name) {
  static constexpr std::size_t kChunk = 4096;
  static constexpr std::size_t kLimit = 1 << 20;
  const FileDescriptor file = OpenItemFile(directory, name).descriptor;
  const auto read_into = [&](char* into, std::size_t size) {
    for (;;) {
      const ssize_t got = read(file.Get(), into, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR)
        throw ItemUnreadable("cannot read " + directory.Path() + "/" + name + ": " +
                             std::strerror(errno));
    }
  };
  // Most header blocks fit in the first 4 KiB, read where no allocation is
  // needed; long Received chains need more.
  std::array<char, kChunk> first;
  std::size_t have = 0;
  for (std::size_t got = 1; got > 0 && have < kChunk;) {
    got = read_into(first.data() + have, kChunk - have);
    have += got;
  }
  const std::string_view start(first.data(), have);
  if (have < kChunk || HeaderEnd(start, 0) != std::string_view::npos) return ScanHeaders(start);
  std::string data(start);
  std::size_t scanned = data.size() - 2;
  while (data.size() < kLimit) {
    const std::size_t old_size = data.size();
    data.resize(old_size + kChunk);
    const std::size_t got = read_into(data.data() + old_size, kChunk);
    data.resize(old_size + got);
    if (got == 0 || HeaderEnd(data, scanned) != std::string::npos) break;
    scanned = data.size() - 2;
  }
  return ScanHeaders(data);
}

}  // namespace qs::dirstore

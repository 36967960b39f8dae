#include "mailstore/mime/header_block.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "mailstore/mail_store.h"
#include "platform/posix/file_descriptor.h"
#include "platform/text.h"

namespace qs {

namespace {

std::string_view* FieldFor(RawHeaders& headers, std::string_view name) {
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

std::string_view WithoutMboxLine(std::string_view message) {
  if (!message.starts_with("From ")) return message;
  const std::size_t feed = message.find('\n');
  std::string_view line = message.substr(0, feed);
  if (line.ends_with('\r')) line.remove_suffix(1);
  const std::size_t after = line.find_first_not_of(" \t", 5);
  if (after == std::string_view::npos || line[after] == ':') return message;
  return feed == std::string_view::npos ? std::string_view() : message.substr(feed + 1);
}

HeaderBlockEnd ForEachHeaderField(std::string_view data, const FieldTaker& take) {
  std::string_view name;
  std::string_view lines;
  bool pending = false;  // a field whose continuation lines may follow
  const auto finish = [&] {
    if (pending) take(name, lines);
    pending = false;
  };
  for (std::size_t at = 0; at < data.size();) {
    const std::size_t feed = data.find('\n', at);
    const std::size_t next = feed == std::string_view::npos ? data.size() : feed + 1;
    std::string_view line = data.substr(at, next - at);
    if (line.ends_with('\n')) line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) {
      finish();
      return {at, next};
    }
    at = next;
    if (line.front() == ' ' || line.front() == '\t') {
      if (pending) lines = std::string_view(lines.data(), line.data() + line.size() - lines.data());
      continue;
    }
    finish();
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    name = TrimBlanks(line.substr(0, colon));
    lines = line.substr(colon + 1);
    pending = !name.empty();
  }
  finish();
  return {data.size(), data.size()};
}

std::string_view UnfoldInto(std::string_view lines, char* out) {
  char* end = out;
  for (std::size_t feed; (feed = lines.find('\n')) != std::string_view::npos;) {
    const std::size_t kept = feed > 0 && lines[feed - 1] == '\r' ? feed - 1 : feed;
    end = std::copy_n(lines.data(), kept, end);
    lines.remove_prefix(feed + 1);
  }
  end = std::copy(lines.begin(), lines.end(), end);
  return TrimBlanks(std::string_view(out, static_cast<std::size_t>(end - out)));
}

std::string UnfoldedValue(std::string_view lines) {
  std::string value(lines.size(), '\0');
  const std::string_view unfolded = UnfoldInto(lines, value.data());
  value.resize(static_cast<std::size_t>(unfolded.data() - value.data()) + unfolded.size());
  value.erase(0, static_cast<std::size_t>(unfolded.data() - value.data()));
  return value;
}

namespace {

// The lines of each field's first occurrence, still in the block they were
// found in; an empty one counts too, so that later copies stay ignored.
struct PickedFields {
  RawHeaders headers;
  std::array<std::pair<std::string_view*, std::string_view>, 8> fields;
  std::size_t count = 0;
  std::size_t size = 0;
  bool ended = false;  // by an empty line: more of the message would change nothing
};

void Pick(PickedFields& picked, std::string_view name, std::string_view lines) {
  std::string_view* field = FieldFor(picked.headers, name);
  if (!field || field->data() != nullptr) return;
  *field = lines;  // marks it found
  picked.fields[picked.count++] = {field, lines};
  picked.size += lines.size();
}

void PickFields(std::string_view block, PickedFields& picked) {
  const std::string_view message = WithoutMboxLine(block);
  const HeaderBlockEnd end =
      ForEachHeaderField(message, [&picked](std::string_view name, std::string_view lines) {
        Pick(picked, name, lines);
      });
  picked.ended = end.fields < message.size();
}

// Each value unfolded into one copy that the headers keep.
RawHeaders Unfolded(PickedFields& picked) {
  RawHeaders& headers = picked.headers;
  if (picked.size > 0) headers.values = std::make_unique_for_overwrite<char[]>(picked.size);
  char* at = headers.values.get();
  for (std::size_t k = 0; k < picked.count; ++k) {
    const auto [field, lines] = picked.fields[k];
    *field = UnfoldInto(lines, at);
    at += lines.size();
  }
  return std::move(headers);
}

}  // namespace

RawHeaders ScanHeaders(std::string_view block) {
  PickedFields picked;
  PickFields(block, picked);
  return Unfolded(picked);
}

RawHeaders PickHeaders(const std::vector<HeaderField>& fields) {
  PickedFields picked;
  for (const HeaderField& field : fields) Pick(picked, field.name, field.lines);
  return Unfolded(picked);
}

RawHeaders ReadHeaders(const FileDescriptor& file, std::string_view folder, std::string_view name) {
  static constexpr std::size_t kChunk = 4096;
  static constexpr std::size_t kLimit = 1 << 20;
  const auto read_into = [&](char* into, std::size_t size) {
    for (;;) {
      const ssize_t got = read(file.Get(), into, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR)
        throw ItemUnreadable("cannot read " + std::string(folder) + "/" + std::string(name) + ": " +
                             std::strerror(errno));
    }
  };
  // Most header blocks fit in the first 4 KiB, read where no allocation is
  // needed, and one read takes them; a read cut short is read on. Long
  // Received chains need more.
  std::array<char, kChunk> first;
  std::size_t have = 0;
  for (;;) {
    const std::size_t got = read_into(first.data() + have, kChunk - have);
    have += got;
    PickedFields picked;
    PickFields(std::string_view(first.data(), have), picked);
    if (got == 0 || picked.ended) return Unfolded(picked);
    if (have == kChunk) break;
  }
  const std::string_view start(first.data(), have);
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

}  // namespace qs

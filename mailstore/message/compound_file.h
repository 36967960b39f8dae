#pragma once
// Compound files (the container of Outlook message files), written front to
// back from a tree whose large streams are made in pieces as they are
// written: version 3 (512-byte sectors), small streams in the mini stream,
// each storage's children in a balanced red-black tree of their names.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/encodings/byte_source.h"
#include "platform/file_system.h"

namespace qs {

struct CompoundEntry {
  static CompoundEntry Stream(std::string name, std::string data) {
    return CompoundEntry{std::move(name), false, std::move(data), nullptr, 0, {}};
  }
  // size: how many bytes source makes.
  static CompoundEntry Stream(std::string name, std::shared_ptr<const ByteSource> source,
                              std::uint64_t size) {
    return CompoundEntry{std::move(name), false, {}, std::move(source), size, {}};
  }
  static CompoundEntry Storage(std::string name) {
    return CompoundEntry{std::move(name), true, {}, nullptr, 0, {}};
  }

  std::string name;  // at most 31 UTF-16 units
  bool storage = false;
  std::string data;  // a stream's bytes, unless it has a source
  std::shared_ptr<const ByteSource> source;
  std::uint64_t source_size = 0;
  std::vector<CompoundEntry> children;
};

using ClassId = std::array<std::uint8_t, 16>;

// Writes root's children into a new compound file at path; the root storage
// gets the class id. A container that cannot be built (a name too long, two
// siblings of one name) or a source that makes another count of bytes than
// it said leaves no file. Throws MailStoreError when the file cannot be
// written.
FileStamp WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id);

}  // namespace qs

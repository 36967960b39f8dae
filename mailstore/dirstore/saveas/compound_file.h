#pragma once
// Compound files (the container of Outlook message files), written from a
// tree whose large streams are made in pieces as they are written. The
// container's own work (sectors, the mini stream, the allocation tables, the
// directory's sibling order) is libgsf's.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/dirstore/saveas/byte_source.h"

namespace qs::dirstore {

struct CompoundEntry {
  static CompoundEntry Stream(std::string name, std::string data) {
    return CompoundEntry{std::move(name), false, std::move(data), nullptr, {}};
  }
  static CompoundEntry Stream(std::string name, std::shared_ptr<const ByteSource> source) {
    return CompoundEntry{std::move(name), false, {}, std::move(source), {}};
  }
  static CompoundEntry Storage(std::string name) {
    return CompoundEntry{std::move(name), true, {}, nullptr, {}};
  }

  std::string name;  // at most 31 UTF-16 units
  bool storage = false;
  std::string data;  // a stream's bytes, unless it has a source
  std::shared_ptr<const ByteSource> source;
  std::vector<CompoundEntry> children;
};

using ClassId = std::array<std::uint8_t, 16>;

// Where the container is laid out before it is written: in memory, which is
// fastest, or for a large one in a scratch file, so that it is not held.
enum class Layout { kInMemory, kInScratchFile };

// Writes root's children into a new compound file at path; the root storage
// gets the class id. A container that cannot be built leaves no file.
// Throws MailStoreError when the file cannot be written.
void WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id,
                       Layout layout);

}  // namespace qs::dirstore

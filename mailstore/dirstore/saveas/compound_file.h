#pragma once
// Compound files (the container of Outlook message files), written in one
// go from a tree held in memory. The container's own work (sectors, the mini
// stream, the allocation tables, the directory's sibling order) is libgsf's.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qs::dirstore {

struct CompoundEntry {
  static CompoundEntry Stream(std::string name, std::string data) {
    return CompoundEntry{std::move(name), false, std::move(data), {}};
  }
  static CompoundEntry Storage(std::string name) { return CompoundEntry{std::move(name), true, {}, {}}; }

  std::string name;  // at most 31 UTF-16 units
  bool storage = false;
  std::string data;  // a stream's bytes
  std::vector<CompoundEntry> children;
};

using ClassId = std::array<std::uint8_t, 16>;

// Writes root's children into a new compound file at path; the root storage
// gets the class id. The file is laid out in memory first, so a container
// that cannot be built leaves no file. Throws MailStoreError when the file
// cannot be written.
void WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id);

}  // namespace qs::dirstore

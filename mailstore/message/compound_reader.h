#pragma once
// Compound files (the container of Outlook message files) read from their
// bytes: versions 3 and 4, streams in the mini stream and in sectors. The
// file may come from anywhere: every sector number, chain, size and tree
// link is checked, and a file that breaks one is refused as damaged, never
// read out of bounds or round in a circle.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/encodings/byte_source.h"

namespace qs {

class CompoundReader {
 public:
  // Throws MailStoreError for bytes that are no compound file, or a damaged one.
  explicit CompoundReader(std::string bytes);

  using Entry = std::uint32_t;
  Entry Root() const { return 0; }
  // The storage's child of that name (names compare as the format compares
  // them: ASCII letters in any case); nothing when there is none.
  std::optional<Entry> Child(Entry storage, std::string_view name) const;
  bool IsStorage(Entry entry) const { return entries_[entry].storage; }
  std::uint64_t StreamSize(Entry stream) const { return entries_[stream].size; }
  // A stream's bytes, copied out.
  std::string Read(Entry stream) const;
  // The same, made from the file's bytes each time they are written; the
  // source keeps the reader.
  static std::shared_ptr<const ByteSource> Source(std::shared_ptr<const CompoundReader> file, Entry stream);

 private:
  struct Node {
    std::string name;  // UTF-8
    bool storage = false;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
    std::uint32_t left = 0, right = 0, child = 0;
  };
  // The pieces of a stream's bytes, in order.
  std::vector<std::string_view> Pieces(Entry stream) const;
  std::vector<std::uint32_t> Chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                   std::uint64_t limit) const;
  std::string_view Sector(std::uint32_t sector) const;

  std::string bytes_;
  std::uint32_t sector_size_ = 512;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> mini_fat_;
  std::vector<std::uint32_t> mini_sectors_;  // the sectors of the mini stream, in order
  std::vector<Node> entries_;
};

}  // namespace qs

#include "mailstore/message/compound_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "mailstore/mail_store.h"
#include "mailstore/message/compound_format.h"
#include "mailstore/message/whole_file.h"
#include "platform/text.h"

namespace qs {

namespace {

// Version 3 of the format: 512-byte sectors, streams under 4,096 bytes in
// 64-byte sectors of the mini stream.
constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kIdsPerSector = kSector / 4;
using namespace compound;

enum : std::uint8_t { kRed = 0, kBlack = 1 };

std::uint32_t SectorsFor(std::uint64_t bytes, std::uint32_t sector) {
  return static_cast<std::uint32_t>((bytes + sector - 1) / sector);
}

void Put16(std::string& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8);
}
void Put32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Padding, less than a sector.
std::string_view Zeros(std::size_t count) {
  static constexpr std::array<char, kSector> kZeros{};
  return {kZeros.data(), count};
}

// One entry of the directory, in the order the entries are numbered: the
// root first, then each storage's children after it, depth first.
struct DirEntry {
  const CompoundEntry* source = nullptr;  // nothing for the root
  std::array<char, 62> name{};            // UTF-16LE, without the terminator
  std::size_t name_size = 0;              // in bytes
  std::string_view Name() const { return {name.data(), name_size}; }
  std::uint8_t type = kStreamType;
  std::uint8_t color = kBlack;
  std::uint32_t left = kNoEntry, right = kNoEntry, child = kNoEntry;
  std::uint64_t size = 0;
  std::uint32_t start = kEndOfChain;
};

// The order of siblings in the directory: shorter names first, then by
// code unit with ASCII letters in upper case (the names a message file uses
// are ASCII).
bool NameBefore(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size();
  auto unit = [](std::string_view s, std::size_t at) {
    auto u = static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                        static_cast<unsigned char>(s[at + 1]) << 8);
    return u >= 'a' && u <= 'z' ? static_cast<std::uint16_t>(u - 32) : u;
  };
  // Names of one storage mostly share a long beginning ("__substg1.0_"),
  // which equal bytes pass over at once.
  for (std::size_t i = 0; i < a.size(); i += 2) {
    i = static_cast<std::size_t>(std::mismatch(a.begin() + i, a.end(), b.begin() + i).first - a.begin());
    if (i == a.size()) return false;
    i &= ~std::size_t{1};
    if (unit(a, i) != unit(b, i)) return unit(a, i) < unit(b, i);
  }
  return false;
}

class Directory {
 public:
  Directory(const CompoundEntry& root, const ClassId& class_id)
      : class_id_(class_id) {
    entries_.reserve(1 + CountBelow(root));
    entries_.push_back({});
    entries_[0].type = kRootType;
    SetName(entries_[0], "Root Entry");
    entries_[0].child = AddChildren(root);
  }

  std::vector<DirEntry>& Entries() { return entries_; }

  // The directory's sectors, every entry of 128 bytes.
  std::string Bytes() const {
    std::string out(SectorsFor(entries_.size() * 128ull, kSector) * kSector, '\0');
    for (std::size_t i = 0; i < out.size() / 128; ++i) {
      const std::size_t at = i * 128;
      Put32(out, at + 68, kNoEntry);
      Put32(out, at + 72, kNoEntry);
      Put32(out, at + 76, kNoEntry);
      if (i >= entries_.size()) continue;
      const DirEntry& entry = entries_[i];
      std::memcpy(&out[at], entry.name.data(), entry.name_size);
      Put16(out, at + 64, static_cast<std::uint16_t>(entry.name_size + 2));
      out[at + 66] = static_cast<char>(entry.type);
      out[at + 67] = static_cast<char>(entry.color);
      Put32(out, at + 68, entry.left);
      Put32(out, at + 72, entry.right);
      Put32(out, at + 76, entry.child);
      if (entry.type == kRootType) std::memcpy(&out[at + 80], class_id_.data(), class_id_.size());
      Put32(out, at + 116, entry.type == kStorageType ? 0 : entry.start);
      Put32(out, at + 120, static_cast<std::uint32_t>(entry.size));
    }
    return out;
  }

 private:
  static std::size_t CountBelow(const CompoundEntry& storage) {
    std::size_t count = storage.children.size();
    for (const CompoundEntry& child : storage.children) count += CountBelow(child);
    return count;
  }

  // An entry's name in UTF-16, at most 31 units.
  static void SetName(DirEntry& entry, const std::string& name) {
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii && !name.empty() && name.size() * 2 <= entry.name.size()) {
      for (std::size_t i = 0; i < name.size(); ++i) entry.name[2 * i] = name[i];  // high bytes stay 0
      entry.name_size = name.size() * 2;
      return;
    }
    const std::string units = Utf16LeOf(name);
    if (units.empty() || units.size() > entry.name.size())
      throw MailStoreError("the container cannot name an entry \"" + name + "\"");
    std::memcpy(entry.name.data(), units.data(), units.size());
    entry.name_size = units.size();
  }

  // Numbers storage's children and returns the top of their sibling tree.
  std::uint32_t AddChildren(const CompoundEntry& storage) {
    std::vector<std::uint32_t> ids;
    ids.reserve(storage.children.size());
    for (const CompoundEntry& child : storage.children) {
      ids.push_back(static_cast<std::uint32_t>(entries_.size()));
      DirEntry entry;
      entry.source = &child;
      SetName(entry, child.name);
      if (child.storage)
        entry.type = kStorageType;
      else
        entry.size = child.source ? child.source_size : child.data.size();
      if (entry.size > std::numeric_limits<std::uint32_t>::max())
        throw MailStoreError("a stream of " + std::to_string(entry.size) +
                             " bytes does not fit the container");
      entries_.push_back(std::move(entry));
    }
    for (std::size_t i = 0; i < ids.size(); ++i)
      if (storage.children[i].storage) entries_[ids[i]].child = AddChildren(storage.children[i]);
    std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) {
      return NameBefore(entries_[a].Name(), entries_[b].Name());
    });
    for (std::size_t i = 1; i < ids.size(); ++i)
      if (!NameBefore(entries_[ids[i - 1]].Name(), entries_[ids[i]].Name()))
        throw MailStoreError("two entries of one storage share the name \"" +
                             entries_[ids[i]].source->name + "\"");
    const int full_depth = ids.empty() ? 0 : FullDepth(ids.size());
    return Balance(ids, 0, ids.size(), 1, full_depth);
  }

  // The depth down to which a tree of count nodes split at the middle is
  // full: every path from its top ends at this depth or one below it.
  static int FullDepth(std::size_t count) {
    int depth = 0;
    while ((std::size_t{2} << depth) - 1 <= count) ++depth;
    return depth;
  }

  // A balanced tree of the sorted ids[begin, end): black down to the full
  // depth, the nodes below it red, so that every path has as many black
  // nodes and no red node has a red child.
  std::uint32_t Balance(const std::vector<std::uint32_t>& ids, std::size_t begin, std::size_t end,
                        int depth, int full_depth) {
    if (begin == end) return kNoEntry;
    const std::size_t middle = begin + (end - begin) / 2;
    DirEntry& node = entries_[ids[middle]];
    node.color = depth > full_depth ? kRed : kBlack;
    node.left = Balance(ids, begin, middle, depth + 1, full_depth);
    entries_[ids[middle]].right = Balance(ids, middle + 1, end, depth + 1, full_depth);
    return ids[middle];
  }

  ClassId class_id_;
  std::vector<DirEntry> entries_;
};

// Writes a stream's bytes and pads them to whole sectors.
class Padded {
 public:
  Padded(const ByteSink& sink, std::uint32_t sector) : sink_(sink), sector_(sector) {}
  void operator()(std::string_view bytes) {
    sink_(bytes);
    written_ += bytes.size();
  }
  void Finish(std::uint64_t expected, const std::string& path) {
    if (written_ != expected)
      throw MailStoreError("cannot write " + path + ": a stream changed while it was written");
    if (const auto rest = written_ % sector_) sink_(Zeros(static_cast<std::size_t>(sector_ - rest)));
    written_ = 0;
  }

 private:
  const ByteSink& sink_;
  std::uint32_t sector_;
  std::uint64_t written_ = 0;
};

void WriteStream(const DirEntry& entry, Padded& out, const std::string& path) {
  if (entry.source->source)
    entry.source->source->WriteTo([&](std::string_view piece) { out(piece); });
  else
    out(entry.source->data);
  out.Finish(entry.size, path);
}

// Appends a chain of count sectors from first to an allocation table.
void Chain(std::vector<std::uint32_t>& table, std::uint32_t first, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i)
    table[first + i] = i + 1 < count ? first + i + 1 : kEndOfChain;
}

std::string TableBytes(const std::vector<std::uint32_t>& table, std::size_t sectors) {
  std::string out(sectors * kSector, '\xFF');
  for (std::size_t i = 0; i < table.size(); ++i) Put32(out, i * 4, table[i]);
  return out;
}

}  // namespace

// The file is laid out before a byte is written, so it is written front to
// back: the header, the large streams, the mini stream, the directory, the
// mini allocation table, the allocation table and its extension.
FileStamp WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id) {
  Directory directory(root, class_id);
  std::vector<DirEntry>& entries = directory.Entries();

  std::uint32_t next = 0;  // the next free sector
  std::vector<std::uint32_t> large, small;
  std::uint32_t mini_sectors = 0;
  for (std::uint32_t i = 1; i < entries.size(); ++i) {
    DirEntry& entry = entries[i];
    if (entry.type != kStreamType || entry.size == 0) continue;
    if (entry.size >= kMiniCutoff) {
      entry.start = next;
      next += SectorsFor(entry.size, kSector);
      large.push_back(i);
    } else {
      entry.start = mini_sectors;
      mini_sectors += SectorsFor(entry.size, kMiniSector);
      small.push_back(i);
    }
  }
  DirEntry& root_entry = entries[0];
  root_entry.size = std::uint64_t{mini_sectors} * kMiniSector;
  const std::uint32_t mini_stream_sectors = SectorsFor(root_entry.size, kSector);
  if (mini_stream_sectors > 0) root_entry.start = next;
  next += mini_stream_sectors;
  const std::uint32_t directory_first = next;
  const std::uint32_t directory_sectors = SectorsFor(entries.size() * 128ull, kSector);
  next += directory_sectors;
  const std::uint32_t mini_fat_sectors = SectorsFor(mini_sectors * 4ull, kSector);
  const std::uint32_t mini_fat_first = mini_fat_sectors > 0 ? next : kEndOfChain;
  next += mini_fat_sectors;
  // The allocation table counts its own sectors and those of its extension.
  std::uint32_t fat_sectors = 0, difat_sectors = 0;
  while (true) {
    difat_sectors = fat_sectors > kHeaderFatIds
                        ? SectorsFor(fat_sectors - kHeaderFatIds, kIdsPerSector - 1)
                        : 0;
    const std::uint64_t total = std::uint64_t{next} + fat_sectors + difat_sectors;
    if (std::uint64_t{fat_sectors} * kIdsPerSector >= total) break;
    ++fat_sectors;
  }
  const std::uint32_t fat_first = next;
  const std::uint32_t difat_first = fat_first + fat_sectors;
  if (std::uint64_t{difat_first} + difat_sectors >= kDifatSector)
    throw MailStoreError("cannot write " + path + ": the message is too large for its container");

  std::vector<std::uint32_t> fat(difat_first + difat_sectors, kFree);
  for (std::uint32_t i : large) Chain(fat, entries[i].start, SectorsFor(entries[i].size, kSector));
  Chain(fat, root_entry.start, mini_stream_sectors);
  Chain(fat, directory_first, directory_sectors);
  if (mini_fat_sectors > 0) Chain(fat, mini_fat_first, mini_fat_sectors);
  for (std::uint32_t i = 0; i < fat_sectors; ++i) fat[fat_first + i] = kFatSector;
  for (std::uint32_t i = 0; i < difat_sectors; ++i) fat[difat_first + i] = kDifatSector;
  std::vector<std::uint32_t> mini_fat(mini_sectors, kFree);
  for (std::uint32_t i : small) Chain(mini_fat, entries[i].start, SectorsFor(entries[i].size, kMiniSector));

  std::string header(kSector, '\0');
  std::memcpy(&header[0], "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  Put16(header, 24, 0x003E);  // minor version
  Put16(header, 26, 3);       // major version
  Put16(header, 28, 0xFFFE);  // byte order: little-endian
  Put16(header, 30, 9);       // 2^9-byte sectors
  Put16(header, 32, 6);       // 2^6-byte mini sectors
  Put32(header, 44, fat_sectors);
  Put32(header, 48, directory_first);
  Put32(header, 56, kMiniCutoff);
  Put32(header, 60, mini_fat_first);
  Put32(header, 64, mini_fat_sectors);
  Put32(header, 68, difat_sectors > 0 ? difat_first : kEndOfChain);
  Put32(header, 72, difat_sectors);
  for (std::uint32_t i = 0; i < kHeaderFatIds; ++i)
    Put32(header, 76 + 4 * i, i < fat_sectors ? fat_first + i : kFree);
  std::string difat(std::size_t{difat_sectors} * kSector, '\xFF');
  for (std::uint32_t i = kHeaderFatIds; i < fat_sectors; ++i) {
    const std::uint32_t slot = i - kHeaderFatIds;
    const std::uint32_t sector = slot / (kIdsPerSector - 1);
    Put32(difat, sector * kSector + (slot % (kIdsPerSector - 1)) * 4, fat_first + i);
  }
  for (std::uint32_t sector = 0; sector < difat_sectors; ++sector)
    Put32(difat, sector * kSector + kSector - 4,
          sector + 1 < difat_sectors ? difat_first + sector + 1 : kEndOfChain);

  return WriteFileInPieces(path, [&](const ByteSink& sink) {
    sink(header);
    Padded sectors(sink, kSector);
    for (std::uint32_t i : large) WriteStream(entries[i], sectors, path);
    Padded mini(sink, kMiniSector);
    for (std::uint32_t i : small) WriteStream(entries[i], mini, path);
    if (const auto rest = root_entry.size % kSector) sink(Zeros(static_cast<std::size_t>(kSector - rest)));
    sink(directory.Bytes());
    sink(TableBytes(mini_fat, mini_fat_sectors));
    sink(TableBytes(fat, fat_sectors));
    sink(difat);
  });
}

}  // namespace qs

#include "mailstore/message/compound_reader.h"

#include <algorithm>
#include <cstring>

#include "mailstore/mail_store.h"
#include "mailstore/message/compound_format.h"
#include "platform/text.h"

namespace qs {

namespace {

using namespace compound;

constexpr std::string_view kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr std::size_t kEntrySize = 128;

[[noreturn]] void Damaged(const std::string& what) {
  throw MailStoreError("The message file is damaged: " + what + ".");
}

std::uint32_t Get32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint16_t Get16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void AppendIds(std::vector<std::uint32_t>& table, std::string_view sector) {
  for (std::size_t at = 0; at + 4 <= sector.size(); at += 4) table.push_back(Get32(sector, at));
}

// Pieces of the file's bytes, which it keeps.
class StreamSource final : public ByteSource {
 public:
  StreamSource(std::shared_ptr<const CompoundReader> file, std::vector<std::string_view> pieces, std::uint64_t size)
      : file_(std::move(file)), pieces_(std::move(pieces)), size_(size) {}
  void WriteTo(const ByteSink& sink) const override {
    for (const std::string_view piece : pieces_) sink(piece);
  }
  std::uint64_t Size() const override { return size_; }

 private:
  std::shared_ptr<const CompoundReader> file_;
  std::vector<std::string_view> pieces_;
  std::uint64_t size_;
};

}  // namespace

CompoundReader::CompoundReader(std::string bytes) : bytes_(std::move(bytes)) {
  const std::string_view file(bytes_);
  if (file.size() < 512 || file.substr(0, 8) != kSignature) throw MailStoreError("This is no Outlook message file.");
  const std::uint16_t version = Get16(file, 0x1A);
  const std::uint16_t shift = Get16(file, 0x1E);
  if (!((version == 3 && shift == 9) || (version == 4 && shift == 12)) || Get16(file, 0x20) != 6 ||
      Get32(file, 0x38) != kMiniCutoff)
    Damaged("its header names a layout of no known version");
  sector_size_ = 1u << shift;
  const std::uint64_t sectors = file.size() < sector_size_ ? 0 : file.size() / sector_size_ - 1;

  // The sectors of the allocation table: the header's, then those listed
  // in the chain of sectors that continues the list.
  const std::uint32_t fat_sectors = Get32(file, 0x2C);
  if (fat_sectors > sectors) Damaged("its allocation table is larger than the file");
  std::vector<std::uint32_t> fat_list;
  for (std::uint32_t i = 0; i < kHeaderFatIds && fat_list.size() < fat_sectors; ++i)
    fat_list.push_back(Get32(file, 0x4C + 4 * i));
  std::uint32_t next = Get32(file, 0x44);
  for (std::uint64_t hops = 0; fat_list.size() < fat_sectors; ++hops) {
    if (hops > sectors) Damaged("the list of its allocation table goes round in a circle");
    const std::string_view list = Sector(next);
    const std::size_t ids = sector_size_ / 4 - 1;
    for (std::size_t i = 0; i < ids && fat_list.size() < fat_sectors; ++i) fat_list.push_back(Get32(list, 4 * i));
    next = Get32(list, 4 * ids);
  }
  for (const std::uint32_t sector : fat_list) AppendIds(fat_, Sector(sector));

  std::string directory;
  for (const std::uint32_t sector : Chain(Get32(file, 0x30), fat_, fat_.size())) directory.append(Sector(sector));
  for (std::size_t at = 0; at + kEntrySize <= directory.size(); at += kEntrySize) {
    const std::string_view raw = std::string_view(directory).substr(at, kEntrySize);
    Node node;
    const std::uint8_t type = static_cast<std::uint8_t>(raw[0x42]);
    const std::uint16_t name_size = Get16(raw, 0x40);
    if (type == kStorageType || type == kStreamType || type == kRootType) {
      if (name_size > 64 || name_size % 2 != 0) Damaged("an entry's name is longer than the format allows");
      node.name = Utf8OfUtf16Le(raw.substr(0, name_size >= 2 ? name_size - 2 : 0));
    }
    node.storage = type == kStorageType || type == kRootType;
    node.left = Get32(raw, 0x44);
    node.right = Get32(raw, 0x48);
    node.child = node.storage ? Get32(raw, 0x4C) : kNoEntry;
    node.start = Get32(raw, 0x74);
    // Version 3 files may hold anything in the size's high half.
    node.size = Get32(raw, 0x78) | (version == 4 ? std::uint64_t{Get32(raw, 0x7C)} << 32 : 0);
    if (entries_.empty() && type != kRootType) Damaged("it has no root entry");
    entries_.push_back(std::move(node));
  }
  if (entries_.empty()) Damaged("it has no directory");

  // The mini stream is the root entry's stream; its table has a chain of its own.
  const Node& root = entries_[0];
  mini_sectors_ = Chain(root.start, fat_, (root.size + sector_size_ - 1) / sector_size_);
  if (static_cast<std::uint64_t>(mini_sectors_.size()) * sector_size_ < root.size)
    Damaged("its mini stream is shorter than it claims");
  const std::uint32_t mini_fat_sectors = Get32(file, 0x40);
  if (mini_fat_sectors > 0)
    for (const std::uint32_t sector : Chain(Get32(file, 0x3C), fat_, mini_fat_sectors))
      AppendIds(mini_fat_, Sector(sector));
}

std::string_view CompoundReader::Sector(std::uint32_t sector) const {
  const std::uint64_t at = (std::uint64_t{sector} + 1) * sector_size_;
  if (at + sector_size_ > bytes_.size()) Damaged("a sector lies beyond its end");
  return std::string_view(bytes_).substr(static_cast<std::size_t>(at), sector_size_);
}

// The chain from start through table, at most limit long; it must end
// there or before.
std::vector<std::uint32_t> CompoundReader::Chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                                 std::uint64_t limit) const {
  std::vector<std::uint32_t> chain;
  for (std::uint32_t at = start; at != kEndOfChain && chain.size() < limit; at = table[at]) {
    if (at >= table.size()) Damaged("a chain of sectors leads outside the file");
    if (chain.size() >= table.size()) Damaged("a chain of sectors goes round in a circle");
    chain.push_back(at);
  }
  return chain;
}

std::optional<CompoundReader::Entry> CompoundReader::Child(Entry storage, std::string_view name) const {
  // The children form a tree of their own; it is walked whole, not searched,
  // so that a tree whose order is wrong still finds every child.
  std::vector<Entry> pending{entries_[storage].child};
  std::vector<bool> seen(entries_.size());
  while (!pending.empty()) {
    const Entry entry = pending.back();
    pending.pop_back();
    if (entry == kNoEntry) continue;
    if (entry >= entries_.size() || entry == 0) Damaged("a storage's tree leads outside the directory");
    if (seen[entry]) Damaged("a storage's tree goes round in a circle");
    seen[entry] = true;
    if (EqualsIgnoringAsciiCase(entries_[entry].name, name)) return entry;
    pending.push_back(entries_[entry].left);
    pending.push_back(entries_[entry].right);
  }
  return std::nullopt;
}

std::vector<std::string_view> CompoundReader::Pieces(Entry stream) const {
  const Node& node = entries_[stream];
  std::vector<std::string_view> pieces;
  std::uint64_t left = node.size;
  if (node.size < kMiniCutoff) {
    const std::uint64_t held = static_cast<std::uint64_t>(mini_sectors_.size()) * sector_size_;
    for (const std::uint32_t mini : Chain(node.start, mini_fat_, (node.size + kMiniSector - 1) / kMiniSector)) {
      const std::uint64_t at = std::uint64_t{mini} * kMiniSector;
      if (at + kMiniSector > held) Damaged("a stream lies beyond the mini stream");
      const std::string_view sector = Sector(mini_sectors_[static_cast<std::size_t>(at / sector_size_)]);
      pieces.push_back(sector.substr(static_cast<std::size_t>(at % sector_size_),
                                     static_cast<std::size_t>(std::min<std::uint64_t>(kMiniSector, left))));
      left -= pieces.back().size();
    }
  } else {
    for (const std::uint32_t sector : Chain(node.start, fat_, (node.size + sector_size_ - 1) / sector_size_)) {
      pieces.push_back(Sector(sector).substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(sector_size_, left))));
      left -= pieces.back().size();
    }
  }
  if (left > 0) Damaged("a stream is shorter than it claims");
  return pieces;
}

std::string CompoundReader::Read(Entry stream) const {
  std::string bytes;
  for (const std::string_view piece : Pieces(stream)) bytes.append(piece);
  return bytes;
}

std::shared_ptr<const ByteSource> CompoundReader::Source(std::shared_ptr<const CompoundReader> file, Entry stream) {
  std::vector<std::string_view> pieces = file->Pieces(stream);
  const std::uint64_t size = file->entries_[stream].size;
  return std::make_shared<const StreamSource>(std::move(file), std::move(pieces), size);
}

}  // namespace qs

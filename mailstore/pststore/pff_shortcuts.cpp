#include "mailstore/pststore/pff_shortcuts.h"

#include <zlib.h>

#include <atomic>

namespace qs::pststore {

namespace {

std::atomic<bool> use_shortcuts{true};
std::atomic<std::uint64_t> walks_skipped{0};

// The map gives its entries identifiers from this one up.
constexpr std::uint32_t kFirstNamedIdentifier = 0x8000;

}  // namespace

}  // namespace qs::pststore

// The library's declarations, as its sources have them (the handles are
// opaque here).
extern "C" {

int __real_libpff_name_to_id_map_entry_get_entry_by_identifier(void* list, std::uint32_t identifier,
                                                               void** entry, void** error);
int __real_libfmapi_checksum_calculate_weak_crc32(std::uint32_t* checksum, const std::uint8_t* buffer,
                                                  std::size_t size, std::uint32_t initial_value,
                                                  void** error);

// 1 found, 0 not found, -1 an error, as the library's.
int __wrap_libpff_name_to_id_map_entry_get_entry_by_identifier(void* list, std::uint32_t identifier,
                                                               void** entry, void** error) {
  using namespace qs::pststore;
  if (identifier < kFirstNamedIdentifier && list != nullptr && entry != nullptr &&
      use_shortcuts.load(std::memory_order_relaxed)) {
    walks_skipped.fetch_add(1, std::memory_order_relaxed);
    return 0;
  }
  return __real_libpff_name_to_id_map_entry_get_entry_by_identifier(list, identifier, entry, error);
}

int __wrap_libfmapi_checksum_calculate_weak_crc32(std::uint32_t* checksum, const std::uint8_t* buffer,
                                                  std::size_t size, std::uint32_t initial_value,
                                                  void** error) {
  using namespace qs::pststore;
  if (checksum == nullptr || buffer == nullptr || !use_shortcuts.load(std::memory_order_relaxed))
    return __real_libfmapi_checksum_calculate_weak_crc32(checksum, buffer, size, initial_value, error);
  *checksum = WeakCrc32(buffer, size, initial_value);
  return 1;
}

}  // extern "C"

namespace qs::pststore {

void UsePffShortcuts(bool use) { use_shortcuts = use; }

std::uint64_t NameMapWalksSkipped() { return walks_skipped; }

// zlib inverts the value before and after; undoing both leaves the weak one.
std::uint32_t WeakCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t initial) {
  uLong crc = ~initial & 0xFFFFFFFFu;
  while (size > 0) {
    const auto piece = static_cast<uInt>(size > 0x40000000 ? 0x40000000 : size);
    crc = crc32(crc, bytes, piece);
    bytes += piece;
    size -= piece;
  }
  return ~static_cast<std::uint32_t>(crc);
}

std::uint32_t LibraryWeakCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t initial) {
  std::uint32_t checksum = 0;
  __real_libfmapi_checksum_calculate_weak_crc32(&checksum, bytes, size, initial, nullptr);
  return checksum;
}

}  // namespace qs::pststore

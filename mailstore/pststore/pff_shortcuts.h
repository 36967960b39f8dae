#pragma once
// Two of libpff's own functions, which the program links in whole, are
// wrapped at link time (the linker's --wrap) where the library spends most
// of its time for nothing:
// - Each cell of a property table looks its property type up in the file's
//   map of named properties, walking the whole list, although only types
//   from 0x8000 up are named (the library tests a condition that is always
//   true). The lookup of a lower type finds nothing without the walk.
// - Block checksums are computed a byte at a time; zlib's CRC-32 gives the
//   same value (the library's is the standard one without its inversions).
// Both give what the library's own would; a test compares them.

#include <cstddef>
#include <cstdint>

namespace qs::pststore {

// On by default; off, the library's own functions run (for comparisons).
void UsePffShortcuts(bool use);

// How many lookups of the named-property map were answered without a walk.
std::uint64_t NameMapWalksSkipped();

// The library's weak CRC-32 (no inversions) of the bytes, from initial,
// computed as the program computes it, and as the library does.
std::uint32_t WeakCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t initial);
std::uint32_t LibraryWeakCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t initial);

}  // namespace qs::pststore

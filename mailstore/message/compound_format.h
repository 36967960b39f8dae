#pragma once
// The numbers of the compound file format that its writer and its reader
// share: sector sizes, the special sector numbers and the entry types.

#include <cstdint>

namespace qs::compound {

// Streams under 4,096 bytes live in 64-byte sectors of the mini stream.
inline constexpr std::uint32_t kMiniSector = 64;
inline constexpr std::uint32_t kMiniCutoff = 4096;
// The sectors of the allocation table the header lists itself.
inline constexpr std::uint32_t kHeaderFatIds = 109;

inline constexpr std::uint32_t kFree = 0xFFFFFFFF;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
inline constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
inline constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

enum : std::uint8_t { kStorageType = 1, kStreamType = 2, kRootType = 5 };

}  // namespace qs::compound

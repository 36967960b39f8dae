#include "mailstore/pststore/pff_shortcuts.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qs::pststore {
namespace {

// The block checksum as the program computes it is the library's own, on
// any bytes from any start value and at any alignment.
TEST(PffShortcuts, TheChecksumIsTheLibrarys) {
  std::mt19937 random(20261208);
  std::vector<std::uint8_t> bytes(70000);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  for (const std::size_t size : {0, 1, 3, 64, 509, 8192, 69999}) {
    for (const std::uint32_t initial : {0u, 0xFFFFFFFFu, static_cast<std::uint32_t>(random())}) {
      const std::uint8_t* start = bytes.data() + (size % 7);
      const std::size_t length = std::min(size, bytes.size() - size % 7);
      EXPECT_EQ(WeakCrc32(start, length, initial), LibraryWeakCrc32(start, length, initial))
          << size << " bytes from " << initial;
    }
  }
}

}  // namespace
}  // namespace qs::pststore

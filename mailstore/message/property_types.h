#pragma once
// The value types of the Outlook properties the program reads from data
// files and writes into message files.

#include <cstdint>

namespace qs {

enum PropertyType : std::uint16_t {
  kInt32Value = 0x0003,
  kBooleanValue = 0x000B,
  kObjectValue = 0x000D,
  kAnsiValue = 0x001E,
  kUnicodeValue = 0x001F,
  kTimeValue = 0x0040,
  kBinaryValue = 0x0102,
};

}  // namespace qs

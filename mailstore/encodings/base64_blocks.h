#pragma once
// Base64 decoded thirty-two characters at a time with the vector unit, where
// the processor has AVX2: most of a mail's attachment lines are whole blocks.

#include <cstddef>

namespace qs {

// Decodes whole blocks of 32 characters from in while every character of a
// block is a sextet and the input and room last, 24 bytes to a block at out.
// A block's store writes 8 bytes more than it keeps: room (the bytes free at
// out) must hold 32 for each block. Says how many blocks it took; none where
// the processor lacks AVX2.
std::size_t DecodeBase64Blocks(const unsigned char* in, std::size_t in_size, char* out,
                               std::size_t room);

}  // namespace qs

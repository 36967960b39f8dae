#include "mailstore/encodings/base64_blocks.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QS_BASE64_AVX2 1
#endif

namespace qs {

#ifdef QS_BASE64_AVX2

namespace {

// Each character is told valid by its low and high nibbles (a bit of the
// one's table must meet no bit of the other's), and made a sextet by adding
// an offset chosen by its high nibble ("/" by its own); the sextets are then
// packed, four to three bytes, and the three bytes put in mail order.
__attribute__((target("avx2"))) std::size_t DecodeBlocksAvx2(const unsigned char* in,
                                                              std::size_t blocks, char* out) {
  const __m256i lo_table = _mm256_setr_epi8(
      0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A,
      0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
  const __m256i hi_table = _mm256_setr_epi8(
      0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
      0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
  const __m256i offsets = _mm256_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0,
                                           0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i slash = _mm256_set1_epi8(0x2F);
  const __m256i in_mail_order = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                                 2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  const __m256i lanes_together = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  std::size_t done = 0;
  for (; done < blocks; ++done, in += 32, out += 24) {
    const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    const __m256i high = _mm256_and_si256(_mm256_srli_epi32(text, 4), slash);
    const __m256i low = _mm256_and_si256(text, slash);
    const __m256i low_bits = _mm256_shuffle_epi8(lo_table, low);
    const __m256i high_bits = _mm256_shuffle_epi8(hi_table, high);
    if (!_mm256_testz_si256(low_bits, high_bits)) break;
    const __m256i is_slash = _mm256_cmpeq_epi8(text, slash);
    const __m256i offset = _mm256_shuffle_epi8(offsets, _mm256_add_epi8(is_slash, high));
    const __m256i sextets = _mm256_add_epi8(text, offset);
    const __m256i pairs = _mm256_maddubs_epi16(sextets, _mm256_set1_epi32(0x01400140));
    const __m256i groups = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i bytes =
        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(groups, in_mail_order), lanes_together);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
  }
  return done;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace

std::size_t DecodeBase64Blocks(const unsigned char* in, std::size_t in_size, char* out,
                               std::size_t room) {
  const std::size_t blocks = in_size / 32 < room / 32 ? in_size / 32 : room / 32;
  return blocks > 0 && HasAvx2() ? DecodeBlocksAvx2(in, blocks, out) : 0;
}

#else

std::size_t DecodeBase64Blocks(const unsigned char*, std::size_t, char*, std::size_t) { return 0; }

#endif

}  // namespace qs

#include "platform/case_folding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "platform/text.h"

namespace qs {

namespace {

// The code points from first to last, every step-th one, fold to themselves
// plus offset; the others between them fold to themselves. Runs are sorted
// and apart.
struct FoldingRun {
  char32_t first;
  char32_t last;
  std::int32_t offset;
  std::uint32_t step;
};

constexpr FoldingRun kFoldingRuns[] = {
#include "platform/case_folding_table.inc"
};

// The code points of one or two UTF-8 bytes (Latin, Greek, Cyrillic,
// Armenian and more) fold by a table of their own offsets, the others by a
// search of the runs.
constexpr char32_t kSmallEnd = 0x800;
constexpr auto kSmallOffsets = [] {
  std::array<std::int32_t, kSmallEnd> offsets{};
  for (const FoldingRun& run : kFoldingRuns)
    for (char32_t c = run.first; c <= run.last && c < kSmallEnd; c += run.step)
      offsets[c] = run.offset;
  return offsets;
}();

char32_t Folded(char32_t c) {
  if (c < kSmallEnd) return static_cast<char32_t>(static_cast<std::int32_t>(c) + kSmallOffsets[c]);
  const auto starts_after = [](char32_t code, const FoldingRun& run) { return code < run.first; };
  const auto after =
      std::upper_bound(std::begin(kFoldingRuns), std::end(kFoldingRuns), c, starts_after);
  if (after == std::begin(kFoldingRuns)) return c;
  const FoldingRun& run = *std::prev(after);
  if (c > run.last || (c - run.first) % run.step != 0) return c;
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.offset);
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  while (!text.empty()) {
    // Names are mostly ASCII: a run of it at once.
    std::size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    if (ascii > 0) {
      const std::size_t from = folded.size();
      folded.append(text.substr(0, ascii));
      for (std::size_t i = from; i < folded.size(); ++i)
        if (folded[i] >= 'A' && folded[i] <= 'Z') folded[i] = static_cast<char>(folded[i] + 32);
      text.remove_prefix(ascii);
      continue;
    }
    const Utf8Sequence next = DecodeUtf8(text);
    const char32_t c = next.valid ? Folded(next.code_point) : next.code_point;
    if (c != next.code_point) AppendUtf8(folded, c);
    else folded.append(text.substr(0, next.bytes));
    text.remove_prefix(next.bytes);
  }
  return folded;
}

}  // namespace qs

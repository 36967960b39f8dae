#include "mailstore/dirstore/saveas/piece_writer.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

// Held bytes, a flush at the piece size and a long text passed straight
// through must keep every byte in its order.
TEST(PieceWriter, EveryByteInOrderWhateverIsAppended) {
  std::string written;
  const ByteSink sink = [&written](std::string_view piece) { written += piece; };
  PieceWriter out(sink);
  const std::string many(100000, 'm');
  const std::string big(300000, 'b');
  for (const char c : many) out += c;
  out += "small";
  out += big;
  out += '!';
  out.Flush();
  EXPECT_EQ(written, many + "small" + big + "!");
}

}  // namespace
}  // namespace qs::dirstore

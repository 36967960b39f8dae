#include "mailstore/dirstore/saveas/property_stream.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

const CompoundEntry* Child(const CompoundEntry& storage, const std::string& name) {
  for (const CompoundEntry& child : storage.children)
    if (child.name == name) return &child;
  return nullptr;
}

TEST(PropertyStream, Utf16OfEveryKindOfCharacter) {
  EXPECT_EQ(Utf16Le("Aé"), std::string("A\0\xe9\0", 4));
  EXPECT_EQ(Utf16Le("测"), std::string("\x4b\x6d", 2));
  EXPECT_EQ(Utf16Le("😀"), std::string("\x3d\xd8\x00\xde", 4));
  // A byte that is not UTF-8 becomes U+FFFD, and the text after it is kept.
  EXPECT_EQ(Utf16Le("a\xff" "b"), std::string("a\0\xfd\xff" "b\0", 6));
  EXPECT_EQ(Utf16Le("\xe6\xb5"), std::string("\xfd\xff\xfd\xff", 4));
  // In pieces a byte long, for a body's line ends: a sequence or a CR LF
  // that pieces cut reads as it does whole.
  std::string utf16;
  const ByteSink sink = [&utf16](std::string_view piece) { utf16 += piece; };
  PieceWriter out(sink);
  Utf16LeWriter writer(out, LineEnds::kCrLf);
  for (const char& c : std::string("\r\n\n\xe6\xb5\x8b\xe6\xb5")) writer.Take(std::string_view(&c, 1));
  writer.Finish();
  out.Flush();
  EXPECT_EQ(utf16, std::string("\r\0\n\0\r\0\n\0\x4b\x6d\xfd\xff\xfd\xff", 14));
}

TEST(PropertyStream, EntriesAndValueStreams) {
  PropertyStream properties;
  properties.Int32(0x0E07, -2);
  properties.String(0x0037, "Hi");
  properties.Binary(0x1013, std::string("\0\1", 2));
  properties.Object(0x3701);
  CompoundEntry storage = CompoundEntry::Storage("s");
  std::move(properties).MoveTo(storage, "HEADER");

  const CompoundEntry* stream = Child(storage, "__properties_version1.0");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->data,
            std::string("HEADER", 6) +
                std::string("\x03\x00\x07\x0e\x06\x00\x00\x00\xfe\xff\xff\xff\x00\x00\x00\x00", 16) +
                // The size of a string counts its terminating null; the stream does not hold it.
                std::string("\x1f\x00\x37\x00\x06\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00", 16) +
                std::string("\x02\x01\x13\x10\x06\x00\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00", 16) +
                std::string("\x0d\x00\x01\x37\x06\x00\x00\x00\xff\xff\xff\xff\x00\x00\x00\x00", 16));
  ASSERT_NE(Child(storage, "__substg1.0_0037001F"), nullptr);
  EXPECT_EQ(Child(storage, "__substg1.0_0037001F")->data, std::string("H\0i\0", 4));
  ASSERT_NE(Child(storage, "__substg1.0_10130102"), nullptr);
  EXPECT_EQ(Child(storage, "__substg1.0_10130102")->data, std::string("\0\1", 2));
  // The embedded message's storage is the caller's to add.
  EXPECT_EQ(Child(storage, "__substg1.0_3701000D"), nullptr);
  EXPECT_EQ(storage.children.size(), 3u);
}

}  // namespace
}  // namespace qs::dirstore

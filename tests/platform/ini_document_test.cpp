#include "platform/ini/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::ini {
namespace {

std::string Again(const std::string& text) { return IniDocument::Parse(text).Serialize(); }

TEST(IniDocument, WritingBackKeepsEveryByte) {
  for (const std::string text :
       {"[A]\r\nx=1\r\n", "[A]\nx=1\n", "\xEF\xBB\xBF[A]\r\nx=1", "; note\r\n\r\n[A]\r\n x = 1 \r\n",
        "", "\r\n"})
    EXPECT_EQ(Again(text), text);
}

// Found by the text fuzzer: stray CRs before a line end, or a lone CR at
// the very end, lost one CR at every write, so the file kept changing. They
// are now all part of the line end, and a second write changes nothing.
TEST(IniDocument, StrayCarriageReturnsArePartOfTheLineEnd) {
  EXPECT_EQ(Again("[A]\r\nx=1\r\r"), "[A]\r\nx=1\r\n");
  EXPECT_EQ(Again("\n[B]\ny=2\r\r\n"), "\n[B]\ny=2\n");
  for (const std::string text : {"[A]\r\nx=1\r\r", "\n[B]\ny=2\r\r\n", "[C]\rz=3\r\r\n"})
    EXPECT_EQ(Again(Again(text)), Again(text)) << text;
  EXPECT_EQ(IniDocument::Parse("[A]\r\nx=1\r").Value("A", "x"), "1");
  EXPECT_EQ(IniDocument::Parse("[B]\ny=2\r\r\n").Value("B", "y"), "2");
}

}  // namespace
}  // namespace qs::ini

#include "save/item_name.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/text.h"

namespace qs {
namespace {

RowTexts Row(std::string subject, std::string from = "sender@example.com", std::string to = "boss@example.com") {
  return {"091205 070309", std::move(from), std::move(subject), std::move(to),
          "091206 080000", "ENTRY",         "\\\\M\\In",        "091206 080001"};
}

// Only the addresses and the subject are clipped, in UTF-16 units and never
// inside a character.
TEST(ItemName, SenderSubjectAndRecipientsAreClipped) {
  const struct {
    const char* format;
    RowTexts row;
    const char *clip_address, *clip_subject, *name;
  } cases[] = {
      {"%1 %2 %3", Row("Re: hello?", "sender1"), "50", "50", "091205 070309 sender1 Re: hello?"},
      {"%3", Row("Quarterly figures"), "50", "5", "Quart"},
      {"%2-%4", Row("s"), "0", "5", "-"},
      {"%2|%4", Row("s"), "6", "0", "sender|boss@e"},
      {"%1%5", Row("s"), "1", "1", "091205 070309091206 080000"},
      {"%3", Row("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"), "9", "3", "\xF0\x9F\x98\x80"},
      {"%3", Row("\xC3\xA9t\xC3\xA9"), "9", "2", "\xC3\xA9t"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatItemName(c.format, c.row, c.clip_address, c.clip_subject), c.name) << c.name;
}

TEST(ItemName, ClipLengthsAreNumbersRoundedHalfToEven) {
  for (const char* bad : {"", "  ", "x", "-1", "-0.6", "5a", ".", "+", "1.2.3", "1 2", "1e3"})
    EXPECT_THROW(FormatItemName("%1", Row("s"), bad, "5"), std::invalid_argument) << bad;
  EXPECT_THROW(FormatItemName("%1", Row("s"), "5", "abc"), std::invalid_argument);
  const std::pair<const char*, std::size_t> cases[] = {
      {" 7 ", 7}, {"0", 0}, {"+3", 3}, {"5.5", 6}, {"4.5", 4}, {"4.50001", 5}, {"4.49", 4},
      {".5", 0}, {"1.", 1}, {"-0.4", 0}, {"-0.5", 0}, {"2.500", 2}};
  for (const auto& [text, length] : cases) EXPECT_EQ(ParseClipLength(text), length) << text;
  EXPECT_GE(ParseClipLength("99999999999999999999999"), 100000u);
}

// Characters Windows forbids become blanks and controls vanish; blanks and
// dots at the ends, case and DEL stay. The first 256 UTF-16 units are kept.
TEST(CleanFileName, ForbiddenCharactersGoAndTheNameIsCut) {
  const std::string astral = "\xF0\x9F\x93\xA7", a255(255, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {"a\\b/c:d*e?f\"g<h>i|j", "a b c d e f g h i j"},
      {"line\r\nbreak\tand\x01\x1F" "bell\x07", "linebreakandbell"},
      {" .Name. \x7F", " .Name. \x7F"},
      {"../../etc/passwd", ".. .. etc passwd"},
      {std::string(300, 'x'), std::string(256, 'x')},
      {a255 + astral, a255},
      {a255.substr(1) + astral + "b", a255.substr(1) + astral},
  };
  for (const auto& [name, clean] : cases) EXPECT_EQ(CleanFileName(name), clean) << name;
  std::string accented;
  for (int i = 0; i < 300; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(Utf16Length(CleanFileName(accented)), 256u);
}

}  // namespace
}  // namespace qs

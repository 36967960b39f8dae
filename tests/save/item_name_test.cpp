#include "save/item_name.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/text.h"

namespace qs {
namespace {

RowTexts Row(std::string sent, std::string from, std::string subject, std::string to = "to1") {
  return {std::move(sent), std::move(from), std::move(subject), std::move(to),
          "091206 080000", "ENTRY",         "\\\\M\\In",        "091206 080001"};
}

TEST(ItemName, TheUsualFormatGivesACleanedName) {
  const auto name = FormatItemName("%1 %2 %3", Row("091205 070309", "sender1", "Re: hello?"),
                                   "50", "50");
  EXPECT_EQ(name, "091205 070309 sender1 Re: hello?");
  EXPECT_EQ(CleanFileName(name), "091205 070309 sender1 Re  hello ");
}

TEST(ItemName, SenderSubjectAndRecipientsAreClipped) {
  const auto row = Row("d", "sender@example.com", "Quarterly figures", "boss@example.com");
  EXPECT_EQ(FormatItemName("%3", row, "50", "5"), "Quart");
  EXPECT_EQ(FormatItemName("%2-%4", row, "0", "5"), "-");
  EXPECT_EQ(FormatItemName("%2|%4", row, "6", "0"), "sender|boss@e");
  // Only the addresses and the subject are clipped.
  EXPECT_EQ(FormatItemName("%1%5", Row("091205 070309", "a", "b"), "1", "1"),
            "091205 070309091206 080000");
  // A clip counts UTF-16 units and never splits a character.
  EXPECT_EQ(FormatItemName("%3", Row("d", "f", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"), "9", "3"),
            "\xF0\x9F\x98\x80");
  EXPECT_EQ(FormatItemName("%3", Row("d", "f", "\xC3\xA9t\xC3\xA9"), "9", "2"), "\xC3\xA9t");
}

TEST(ItemName, ClipLengthsAreNumbersRoundedHalfToEven) {
  const auto row = Row("d", "f", "s");
  for (const char* bad : {"", "  ", "x", "-1", "-0.6", "5a", ".", "+", "1.2.3", "1 2", "1e3"})
    EXPECT_THROW(FormatItemName("%1", row, bad, "5"), std::invalid_argument) << bad;
  EXPECT_THROW(FormatItemName("%1", row, "5", "abc"), std::invalid_argument);
  const std::pair<const char*, std::size_t> cases[] = {
      {" 7 ", 7}, {"0", 0}, {"+3", 3}, {"5.5", 6}, {"4.5", 4}, {"4.50001", 5}, {"4.49", 4},
      {".5", 0}, {"1.", 1}, {"-0.4", 0}, {"-0.5", 0}, {"2.500", 2}};
  for (const auto& [text, length] : cases) EXPECT_EQ(ParseClipLength(text), length) << text;
  EXPECT_GE(ParseClipLength("99999999999999999999999"), 100000u);
}

TEST(CleanFileName, ForbiddenCharactersBecomeBlanksAndControlsVanish) {
  EXPECT_EQ(CleanFileName("a\\b/c:d*e?f\"g<h>i|j"), "a b c d e f g h i j");
  EXPECT_EQ(CleanFileName("line\r\nbreak\tand\x01\x1F" "bell\x07"), "linebreakandbell");
  EXPECT_EQ(CleanFileName("dd/mm/yyyy HH:MM:SS"), "dd mm yyyy HH MM SS");
  // Nothing else changes: blanks and dots at the ends, case, DEL.
  EXPECT_EQ(CleanFileName(" .Name. \x7F"), " .Name. \x7F");
  EXPECT_EQ(CleanFileName("../../etc/passwd"), ".. .. etc passwd");
}

TEST(CleanFileName, KeepsTheFirst256CharactersWithoutSplittingOne) {
  EXPECT_EQ(CleanFileName(std::string(300, 'x')), std::string(256, 'x'));
  EXPECT_EQ(CleanFileName(std::string(256, 'x')), std::string(256, 'x'));
  // A character outside the basic plane takes two units and does not fit in one.
  const std::string astral = "\xF0\x9F\x93\xA7";
  EXPECT_EQ(CleanFileName(std::string(255, 'a') + astral), std::string(255, 'a'));
  EXPECT_EQ(CleanFileName(std::string(254, 'a') + astral + "b"), std::string(254, 'a') + astral);
  const std::string accented = "\xC3\xA9";
  std::string many;
  for (int i = 0; i < 300; ++i) many += accented;
  EXPECT_EQ(Utf16Length(CleanFileName(many)), 256u);
}

}  // namespace
}  // namespace qs

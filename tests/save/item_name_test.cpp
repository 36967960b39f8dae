#include "save/item_name.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/text.h"

namespace qs {
namespace {

// Only the sender (%2), the subject (%3) and the recipients (%4) are
// clipped, in UTF-16 units and never inside a character. Clip lengths are
// numbers rounded half to even.
TEST(ItemName, SenderSubjectAndRecipientsAreClipped) {
  const auto row = [](std::string subject) {
    return [subject](std::size_t k) {
      const RowTexts texts{"091205 070309", "sender@example.com", subject, "boss@example.com",
                           "091206 080000", "ENTRY", "\\\\M\\In", "091206 080001"};
      return texts.at(k);
    };
  };
  const struct {
    const char *format, *subject, *clip_address, *clip_subject, *name;
  } cases[] = {
      {"%1 %2 %3", "Re: hello?", "7", "50", "091205 070309 sender@ Re: hello?"},
      {"%3|%1%5", "Quarterly figures", "0", "5", "Quart|091205 070309091206 080000"},
      {"%2|%4", "s", "6.5", "0", "sender|boss@e"},
      {"%3", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "9", " 3 ", "\xF0\x9F\x98\x80"},
      {"%3", "\xC3\xA9t\xC3\xA9", "9", "+2", "\xC3\xA9t"},
      {"%3", "abcdef", "1", "4.5", "abcd"},
      {"%3", "abcdef", "1", "4.50001", "abcde"},
      {"%3", "abcdef", "1", "-0.5", ""},
      {"%3", "abcdef", "1", ".5", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(FormatItemName(c.format, row(c.subject), ReadClipLengths(c.clip_address, c.clip_subject)), c.name)
        << c.name;
  for (const char* bad : {"", "  ", "x", "-1", "-0.6", "5a", ".", "+", "1.2.3", "1 2", "1e3"})
    EXPECT_THROW(FormatItemName("%1", row("s"), ReadClipLengths(bad, "5")), std::invalid_argument) << bad;
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
      {std::string(300, 'x'), std::string(256, 'x')},
      {a255 + astral, a255},
      {a255.substr(1) + astral + "b", a255.substr(1) + astral}};
  for (const auto& [name, clean] : cases) EXPECT_EQ(CleanFileName(name), clean) << name;
}

}  // namespace
}  // namespace qs

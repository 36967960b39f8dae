#include "mailstore/dirstore/address_list.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

std::string Names(std::string_view raw) { return RecipientNames(ParseAddressList(raw)); }

TEST(AddressList, NamesOrAddressesJoined) {
  EXPECT_EQ(Names("Anna Berg <anna@example.org>, tom@example.org"), "Anna Berg; tom@example.org");
  EXPECT_EQ(Names("\"Berg, Anna\" <anna@example.org>; "), "Berg, Anna");
  EXPECT_EQ(Names("\"O\\\"Brien\" <ob@example.org>"), "O\"Brien");
  EXPECT_EQ(Names("  <bare@example.org>  "), "bare@example.org");
  EXPECT_EQ(Names("old@example.org (Old Style)"), "Old Style");
  EXPECT_EQ(Names(""), "");
  EXPECT_EQ(Names(",,"), "");
}

TEST(AddressList, GroupsKeepTheirMembers) {
  EXPECT_EQ(Names("Team: a@example.org, B <b@example.org>;, c@example.org"), "a@example.org; B; c@example.org");
  EXPECT_EQ(Names("undisclosed-recipients:;"), "");
}

TEST(AddressList, DisplayNamesAreDecodedWordByWord) {
  EXPECT_EQ(Names("=?UTF-8?B?Q2xhcmEg?= =?UTF-8?B?V2hpdGZpZWxk?= <c@example.org>"), "Clara Whitfield");
  EXPECT_EQ(Names("=?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?= <ab@example.org>"), "ab");
  EXPECT_EQ(Names("\"=?ISO-8859-1?Q?J=FCrgen?= Hoffmann\" <j@example.org>"), "Jürgen Hoffmann");
  EXPECT_EQ(Names("=?koi8-r?B?8NLJ18XU?= <x@example.org>, Ann <a@example.org>"), "Привет; Ann");
}

TEST(AddressList, AddressesStayAsWritten) {
  const auto list = ParseAddressList("Tom <Tom.Ashby@Example.ORG >, \"x@y\" <real@example.org>");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].address, "Tom.Ashby@Example.ORG");
  EXPECT_EQ(list[0].name, "Tom");
  EXPECT_EQ(list[1].address, "real@example.org");
  EXPECT_EQ(list[1].name, "x@y");
}

// The old syntax's routes and blanks inside an address are not part of it.
TEST(AddressList, OldSyntaxGivesThePlainAddress) {
  const auto list = ParseAddressList(
      "Mary <@relay.example,@b.example:mary@example.net>, , jdoe@test   . example, "
      "a @ b.example (A), two words@x.example");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].address, "mary@example.net");
  EXPECT_EQ(list[1].address, "jdoe@test.example");
  EXPECT_EQ(list[2].address, "a@b.example");
  EXPECT_EQ(list[2].name, "A");
  EXPECT_EQ(list[3].address, "two words@x.example");
}

}  // namespace
}  // namespace qs::dirstore

#include "mailstore/dirstore/entry_id.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

TEST(EntryId, UpperCaseHexOfTheUtf8Path) {
  EXPECT_EQ(EncodeEntryId("A/b.eml"), "412F622E656D6C");
  EXPECT_EQ(EncodeEntryId("Köln/x"), "4BC3B66C6E2F78");
}

TEST(EntryId, RoundTrips) {
  for (std::string path : {"Mailbox/Inbox/cur/1400007919.M1P4001.sample:2,S",
                           "Archive/2015/Messe Köln/2015-09-08 stand.eml", "a/b"})
    EXPECT_EQ(DecodeEntryId(EncodeEntryId(path)), path);
  EXPECT_EQ(DecodeEntryId("412f622e656d6c"), "A/b.eml");
}

TEST(EntryId, RefusesIdentifiersThatLeaveTheMailRoot) {
  for (std::string path : {"../etc/passwd", "Mailbox/../../x", "/etc/passwd", "Mailbox//x",
                           "Mailbox/./x", "Mailbox/", ".."})
    EXPECT_FALSE(DecodeEntryId(EncodeEntryId(path))) << path;
  EXPECT_FALSE(DecodeEntryId(EncodeEntryId(std::string("a/b\0c", 5))));
  EXPECT_FALSE(DecodeEntryId(""));
  EXPECT_FALSE(DecodeEntryId("412"));
  EXPECT_FALSE(DecodeEntryId("41ZZ"));
  EXPECT_FALSE(DecodeEntryId("00000000BC1D4E2F"));  // an Outlook identifier
}

}  // namespace
}  // namespace qs::dirstore

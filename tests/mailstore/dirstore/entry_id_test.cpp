#include "mailstore/dirstore/entry_id.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

// The fuzzer holds every decoded path to staying below the mail root; these
// rows fix the form of the identifiers.
TEST(EntryId, UpperCaseHexOfTheUtf8PathBelowTheMailRoot) {
  EXPECT_EQ(EncodeEntryId("Köln/x"), "4BC3B66C6E2F78");
  EXPECT_EQ(DecodeEntryId("4bc3b66c6e2f78"), "Köln/x");
  EXPECT_EQ(DecodeEntryId(EncodeEntryId("Mailbox/cur/1400007919.M1P4001.sample:2,S")),
            "Mailbox/cur/1400007919.M1P4001.sample:2,S");
  for (const std::string& path : {std::string("../etc/passwd"), std::string("Mailbox/../../x"), std::string("/etc/passwd"),
                                 std::string("Mailbox//x"), std::string("Mailbox/./x"), std::string("Mailbox/"), std::string("a/b\0c", 5)})
    EXPECT_FALSE(DecodeEntryId(EncodeEntryId(path))) << path;
  for (const char* other : {"", "412", "41ZZ", "00000000BC1D4E2F"})  // the last an Outlook identifier
    EXPECT_FALSE(DecodeEntryId(other)) << other;
}

}  // namespace
}  // namespace qs::dirstore

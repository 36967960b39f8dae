#include "save/item_subfolder.h"

#include <gtest/gtest.h>

#include "platform/system.h"
#include "tests/common/fake_mail_store.h"

namespace qs {
namespace {

// The subfolder for an item whose folder has the full path given ("!": the
// item cannot be read).
std::string Subfolder(const std::string& mail_folder, const std::string& full_path) {
  testing::FakeMail mail;
  mail.folder = full_path;
  for (char& c : mail.folder)
    if (c == '/') c = '\\';
  mail.unreadable = full_path == "!";
  testing::FakeItem item(mail);
  return GetItemSubfolder(mail_folder, item);
}

std::string Levels(std::initializer_list<const char*> names) {
  std::string path;
  for (const char* name : names) {
    if (!path.empty()) path += PathSeparator();
    path += name;
  }
  return path;
}

TEST(ItemSubfolder, RepeatsTheFoldersBelowTheSearchedOne) {
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "//Mailbox/Inbox/Projects/2009/"),
            Levels({"Projects", "2009"}));
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "//Mailbox/Inbox/Projects"), "Projects");
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "//Mailbox/Inbox"), "");
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "//Mailbox/Inbox/"), "");
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "//Mailbox"), "");
}

TEST(ItemSubfolder, CutsByLengthAloneWithoutComparing) {
  // A box text longer than the searched folder's part of the path eats into
  // the levels below it: first the "/" between, then the first letter.
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox1", "//Mailbox/Inbox/Projects/2009"),
            Levels({"Projects", "2009"}));
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox12", "//Mailbox/Inbox/Projects/2009"),
            Levels({"rojects", "2009"}));
  EXPECT_EQ(Subfolder("\\\\Other\\Place", "//Mailbox/Inbox/Projects"), Levels({"ox", "Projects"}));
  // Length in UTF-16 units: an accented box text of the same length cuts alike.
  EXPECT_EQ(Subfolder("\\\\Mailb\xC3\xB6x\\Inbox", "//Mailbox/Inbox/A"), "A");
}

TEST(ItemSubfolder, AFailureGivesNoSubfolder) {
  EXPECT_EQ(Subfolder("\\\\Mailbox\\Inbox", "!"), "");
}

TEST(StripLeadingAndTrailing, DropEveryRepeatOfTheCharacterAtOneEnd) {
  EXPECT_EQ(StripLeading("//a/b//", '/'), "a/b//");
  EXPECT_EQ(StripTrailing("//a/b//", '/'), "//a/b");
  EXPECT_EQ(StripLeading("///", '/'), "");
  EXPECT_EQ(StripTrailing("///", '/'), "");
  EXPECT_EQ(StripLeading("", '/'), "");
  EXPECT_EQ(StripTrailing("abc", '/'), "abc");
}

}  // namespace
}  // namespace qs

#include "save/item_subfolder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/system.h"
#include "tests/common/fake_mail_store.h"

namespace qs {
namespace {

// The subfolder for an item whose folder has the full path given ("!": the
// item cannot be read).
std::string Subfolder(const std::string& mail_folder, const std::string& full_path) {
  testing::FakeMail mail;
  mail.folder = full_path;
  std::replace(mail.folder.begin(), mail.folder.end(), '/', '\\');
  mail.unreadable = full_path == "!";
  testing::FakeItem item(mail);
  return GetItemSubfolder(mail_folder, item);
}

// The folders below the searched one, cut by the length of the box's text
// (in UTF-16 units) alone: a longer text eats into the levels below.
TEST(ItemSubfolder, RepeatsTheFoldersBelowTheSearchedOne) {
  const struct {
    const char *mail_folder, *full_path;
    std::string subfolder;  // "/" for the separator
  } cases[] = {
      {"\\\\Mailbox\\Inbox", "//Mailbox/Inbox/Projects/2009/", "Projects/2009"},
      {"\\\\Mailbox\\Inbox", "//Mailbox/Inbox/", ""},
      {"\\\\Mailbox\\Inbox1", "//Mailbox/Inbox/Projects/2009", "Projects/2009"},
      {"\\\\Mailbox\\Inbox12", "//Mailbox/Inbox/Projects/2009", "rojects/2009"},
      {"\\\\Other\\Place", "//Mailbox/Inbox/Projects", "ox/Projects"},
      {"\\\\Mailb\xC3\xB6x\\Inbox", "//Mailbox/Inbox/A", "A"},
      {"\\\\Mailbox\\Inbox", "!", ""},  // a failure gives no subfolder
  };
  for (auto c : cases) {
    std::replace(c.subfolder.begin(), c.subfolder.end(), '/', PathSeparator());
    EXPECT_EQ(Subfolder(c.mail_folder, c.full_path), c.subfolder) << c.mail_folder << " " << c.full_path;
  }
}

}  // namespace
}  // namespace qs

#include "mailstore/folder_path.h"

#include <gtest/gtest.h>

#include "mailstore/folder_names.h"
#include "tests/common/fake_mail_store.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeMailStore;
using testing::WindowHarness;

class FolderPathTest : public ::testing::Test {
 protected:
  FolderPathTest() {
    auto& mailbox = store.AddStore("Mailbox");
    mailbox.Add("Inbox").Add("Orders");
    mailbox.Add("Sent Items");
  }

  std::string Resolve(std::string_view path) {
    std::unique_ptr<Folder> folder = GetFolderFromPath(ui.app, store, path);
    return folder ? folder->FolderPath() : "none";
  }

  FakeMailStore store;
  WindowHarness ui;
};

// Names the store does not know give no folder and no message: the search
// that asked reports the missing folder. A path without two leading
// backslashes gives none either, and the user is told, without a look-up.
TEST_F(FolderPathTest, EveryLevelResolvesAndOtherPathsGiveNone) {
  const struct {
    std::string_view path, folder;
  } rows[] = {
      {"\\\\Mailbox", "\\\\Mailbox"}, {"\\\\Mailbox\\Inbox\\Orders", "\\\\Mailbox\\Inbox\\Orders"},
      {"\\\\Mailbox\\Sent Items", "\\\\Mailbox\\Sent Items"},
      {"\\\\Mailbox\\Inbox\\", "\\\\Mailbox\\Inbox"},  // a trailing backslash ends the walk
      {"\\\\Nobody", "none"}, {"\\\\Mailbox\\Inbox\\Orders\\2009", "none"}, {"\\\\", "none"},
      {"\\\\Mailbox\\\\Inbox", "none"}, {"\\\\\\Mailbox", "none"},  // empty names
      {"\\\\mailbox\\inbox", "none"},  // letter case is the store's business; this one compares exactly
      {"\\Mailbox\\Inbox", "none"}, {"Mailbox\\Inbox", "none"}, {"", "none"},
      {"//Mailbox/Inbox", "none"},
  };
  for (const auto& row : rows) EXPECT_EQ(Resolve(row.path), row.folder) << row.path;
  EXPECT_EQ(store.lookups, 10) << "one for each path with two leading backslashes";
  EXPECT_EQ(ui.Messages(), std::vector<std::string>(4, "Error: folder path should start with \\\\"));
  EXPECT_EQ(ui.windows.BoxesShown().front().icon, Icon::None);
  EXPECT_FALSE(ui.app.FailureShown());  // the search that called it reports the failure
}

TEST_F(FolderPathTest, ThePickedFolderGivesItsPathOrThereIsNone) {
  store.picked = "\\\\Mailbox\\Inbox\\Orders";
  const auto copy = [this](Reporter&) -> std::unique_ptr<MailStore> {
    return std::make_unique<FakeMailStore>(store);
  };
  EXPECT_EQ(GetMailFolder(ui.app, copy), "\\\\Mailbox\\Inbox\\Orders");
  store.picked.clear();
  EXPECT_FALSE(GetMailFolder(ui.app, copy));
  EXPECT_FALSE(GetMailFolder(ui.app, [](Reporter&) -> std::unique_ptr<MailStore> {
    throw MailStoreError("Outlook is not available");
  }));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_NE(ui.err.str().find("no folder to choose: Outlook is not available"), std::string::npos)
      << "a chooser that cannot open says why where the user looks";
}

// Folder names are found by Unicode's simple case folding, as Windows
// compares file names: in every script, and without "ß" becoming "ss".
TEST(FolderNames, AreFoundWithoutRegardToLetterCaseInEveryScript) {
  const std::vector<std::string> names = {"Straße", "INBOX", "Աշխատանք", "Ǆemal"};
  const std::pair<std::string_view, std::optional<std::size_t>> kCases[] = {
      {"inbox", 1}, {"STRAẞE", 0}, {"strasse", std::nullopt}, {"աՇԽԱՏԱՆՔ", 2}, {"ǆemal", 3}, {"", std::nullopt}};
  for (const auto& [wanted, found] : kCases) EXPECT_EQ(FindName(names, wanted), found) << wanted;
  std::vector<std::string> siblings = {"Ǆemal", "ǅemal", "ǆemal (2)"};
  MakeNamesDistinct(siblings);
  EXPECT_EQ(siblings, (std::vector<std::string>{"Ǆemal", "ǅemal (3)", "ǆemal (2)"}));
}

}  // namespace
}  // namespace qs

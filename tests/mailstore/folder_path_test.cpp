#include "mailstore/folder_path.h"

#include <gtest/gtest.h>

#include "tests/mailstore/fake_mail_store.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeMailStore;
using testing::WindowHarness;

const char* const kNeedsBackslashes = "Error: folder path should start with \\\\";

class FolderPathTest : public ::testing::Test {
 protected:
  FolderPathTest() {
    auto& mailbox = store.AddStore("Mailbox");
    mailbox.Add("Inbox").Add("Orders");
    mailbox.Add("Sent Items");
    store.AddStore("Archive");
  }

  std::string Resolve(std::string_view path) {
    std::unique_ptr<Folder> folder = GetFolderFromPath(ui.app, store, path);
    return folder ? folder->FolderPath() : "none";
  }

  FakeMailStore store;
  WindowHarness ui;
};

TEST_F(FolderPathTest, ResolvesEveryLevel) {
  EXPECT_EQ(Resolve("\\\\Mailbox"), "\\\\Mailbox");
  EXPECT_EQ(Resolve("\\\\Mailbox\\Inbox"), "\\\\Mailbox\\Inbox");
  EXPECT_EQ(Resolve("\\\\Mailbox\\Inbox\\Orders"), "\\\\Mailbox\\Inbox\\Orders");
  EXPECT_EQ(Resolve("\\\\Mailbox\\Sent Items"), "\\\\Mailbox\\Sent Items");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(FolderPathTest, ATrailingBackslashEndsTheWalk) {
  EXPECT_EQ(Resolve("\\\\Mailbox\\Inbox\\"), "\\\\Mailbox\\Inbox");
  EXPECT_EQ(Resolve("\\\\Mailbox\\"), "\\\\Mailbox");
}

TEST_F(FolderPathTest, NamesNotFoundGiveNoneWithoutAMessage) {
  EXPECT_EQ(Resolve("\\\\Nobody"), "none");
  EXPECT_EQ(Resolve("\\\\Mailbox\\Outbox"), "none");
  EXPECT_EQ(Resolve("\\\\Mailbox\\Inbox\\Orders\\2009"), "none");
  EXPECT_EQ(Resolve("\\\\Mailbox\\\\Inbox"), "none");  // an empty name inside
  EXPECT_EQ(Resolve("\\\\"), "none");                  // an empty store name
  EXPECT_EQ(Resolve("\\\\\\Mailbox"), "none");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(FolderPathTest, LetterCaseIsLeftToTheStore) {
  // This store compares exactly; the directory store ignores case.
  EXPECT_EQ(Resolve("\\\\mailbox\\inbox"), "none");
}

TEST_F(FolderPathTest, WithoutTwoLeadingBackslashesTheUserIsTold) {
  for (std::string_view path : {"\\Mailbox\\Inbox", "Mailbox\\Inbox", "", "\\", "//Mailbox/Inbox"}) {
    EXPECT_EQ(Resolve(path), "none") << path;
  }
  EXPECT_EQ(store.lookups, 0);
  ASSERT_EQ(ui.Messages().size(), 5u);
  for (const std::string& text : ui.Messages()) EXPECT_EQ(text, kNeedsBackslashes);
  EXPECT_EQ(ui.console.BoxesShown().front().buttons, Buttons::OK);
  EXPECT_EQ(ui.console.BoxesShown().front().icon, Icon::None);
  EXPECT_FALSE(ui.app.FailureShown());  // the search that called it reports the failure
}

TEST_F(FolderPathTest, ThePickersPathLeadsBackToItsFolder) {
  store.picked = {"Mailbox", "Inbox", "Orders"};
  const auto path = GetMailFolder(ui.app, [this](Application&) {
    auto copy = std::make_unique<FakeMailStore>(store);
    return std::unique_ptr<MailStore>(std::move(copy));
  });
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, "\\\\Mailbox\\Inbox\\Orders");
  EXPECT_EQ(Resolve(*path), *path);
}

TEST_F(FolderPathTest, PickerWithoutChoiceOrStoreGivesNothing) {
  const auto none_chosen = GetMailFolder(ui.app, [](Application&) {
    return std::unique_ptr<MailStore>(std::make_unique<FakeMailStore>());
  });
  EXPECT_FALSE(none_chosen);
  const auto unreachable = GetMailFolder(ui.app, [](Application&) -> std::unique_ptr<MailStore> {
    throw MailStoreError("Outlook is not available");
  });
  EXPECT_FALSE(unreachable);
  EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace qs

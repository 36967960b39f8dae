#include "mailstore/dirstore/dir_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/dirstore/mail_root.h"
#include "mailstore/folder_path.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "tests/mailstore/dirstore/temp_tree.h"
#include "tests/mailstore/window_harness.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::TempTree;
using qs::testing::WindowHarness;
using Texts = std::vector<std::string>;

std::string Mail(const std::string& subject, const std::string& date = "Tue, 30 Jun 2009 17:00:00 +0000") {
  return "Date: " + date + "\nFrom: Anna <anna@example.org>\nTo: Tom <tom@example.org>\nSubject: " +
         subject + "\n\nbody\n";
}

Texts Subjects(Folder& folder) {
  Texts subjects;
  for (std::int32_t i = 1; i <= folder.ItemCount(); ++i) subjects.push_back(folder.ItemAt(i)->Subject());
  return subjects;
}

Texts SubfolderNames(Folder& folder) {
  Texts names;
  for (std::int32_t i = 1; i <= folder.SubfolderCount(); ++i) names.push_back(folder.SubfolderAt(i)->FullPath());
  return names;
}

class DirStoreTest : public ::testing::Test {
 protected:
  DirStoreTest() {
    tree.Write("Mailbox/b.EML", Mail("b.EML"));
    tree.Write("Mailbox/a.eml", Mail("a.eml"));
    tree.Write("Mailbox/notes.txt", Mail("not mail"));
    tree.Write("Mailbox/cur/2:2,S", Mail("cur 2"));
    tree.Write("Mailbox/cur/1:2,S", Mail("cur 1"));
    tree.Write("Mailbox/new/3", Mail("new 3"));
    tree.Write("Mailbox/tmp/4", Mail("tmp 4"));
    tree.Write("Mailbox/alpha/x.eml", Mail("alpha x"));
    tree.Write("Mailbox/Zeta/Köln/y.eml", Mail("Köln y"));
    tree.Write("Mailbox/.git/z.eml", Mail("hidden"));
    tree.Write("Archive/old.eml", Mail("archived"));
    tree.MakeDirectory(".trash/deleted");
  }

  TempTree tree;
  WindowHarness ui;
  DirStore store{ui.app, tree.Root()};
};

TEST_F(DirStoreTest, ItemsAndFoldersInTheStoresOrder) {
  auto mailbox = store.TopFolder("Mailbox");
  EXPECT_EQ(Subjects(*mailbox), (Texts{"a.eml", "b.EML", "cur 1", "cur 2", "new 3"}));
  EXPECT_EQ(SubfolderNames(*mailbox), (Texts{"//Mailbox/Zeta", "//Mailbox/alpha"}));
  EXPECT_THROW(store.TopFolder(".trash"), MailStoreError);
  EXPECT_THROW(mailbox->Subfolder("cur"), MailStoreError);
  EXPECT_THROW(mailbox->Subfolder(".git"), MailStoreError);
  EXPECT_THROW(mailbox->Subfolder(""), MailStoreError);
  EXPECT_THROW(store.TopFolder(""), MailStoreError);
  EXPECT_THROW(mailbox->ItemAt(6), MailStoreError);
}

TEST_F(DirStoreTest, NamesAreFoundWithoutRegardToCase) {
  auto koeln = store.TopFolder("MAILBOX")->Subfolder("zeta")->Subfolder("KÖLN");
  EXPECT_EQ(koeln->FolderPath(), "\\\\Mailbox\\Zeta\\Köln");
  EXPECT_EQ(koeln->FullPath(), "//Mailbox/Zeta/Köln");
  EXPECT_EQ(Subjects(*koeln), (Texts{"Köln y"}));
}

TEST_F(DirStoreTest, PathResolutionAtEveryLevel) {
  auto resolve = [this](std::string_view path) {
    auto folder = GetFolderFromPath(ui.app, store, path);
    return folder ? folder->FolderPath() : "none";
  };
  EXPECT_EQ(resolve("\\\\mailbox"), "\\\\Mailbox");
  EXPECT_EQ(resolve("\\\\Mailbox\\ZETA\\köln"), "\\\\Mailbox\\Zeta\\Köln");
  EXPECT_EQ(resolve("\\\\Mailbox\\Zeta\\"), "\\\\Mailbox\\Zeta");
  EXPECT_EQ(resolve("\\\\Mailbox\\\\Zeta"), "none");
  EXPECT_EQ(resolve("\\\\Mailbox\\Nowhere"), "none");
  EXPECT_EQ(resolve("\\\\"), "none");
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(resolve("\\Mailbox\\Zeta"), "none");
  EXPECT_EQ(ui.Messages(), (Texts{"Error: folder path should start with \\\\"}));
}

TEST_F(DirStoreTest, EntryIdLeadsBackToTheItemAndItsFolder) {
  auto mailbox = store.TopFolder("Mailbox");
  for (std::int32_t i = 1; i <= mailbox->ItemCount(); ++i) {
    auto item = mailbox->ItemAt(i);
    auto again = store.GetItemFromID(item->EntryID());
    EXPECT_EQ(again->Subject(), item->Subject());
    EXPECT_EQ(again->Parent()->FolderPath(), "\\\\Mailbox");
    EXPECT_EQ(item->Parent()->FolderPath(), "\\\\Mailbox");
  }
  auto deep = store.GetItemFromID(store.TopFolder("Mailbox")->Subfolder("Zeta")->Subfolder("Köln")->ItemAt(1)->EntryID());
  EXPECT_EQ(deep->Parent()->FolderPath(), "\\\\Mailbox\\Zeta\\Köln");
  EXPECT_EQ(mailbox->ItemAt(3)->EntryID(), "4D61696C626F782F6375722F313A322C53");  // Mailbox/cur/1:2,S
}

// An item fetched to be saved reads its file once: what it saves is what it
// listed, even if the file changes between the two.
TEST_F(DirStoreTest, AnItemFetchedToBeSavedReadsItsFileOnce) {
  auto item = store.GetItemFromID(store.TopFolder("Mailbox")->ItemAt(1)->EntryID());
  EXPECT_EQ(item->Subject(), "a.eml");
  tree.Write("Mailbox/a.eml", Mail("changed"));
  const fs::path saved = tree.Root() / "a.txt";
  item->SaveAs(saved.string(), SaveType::Text);
  std::ifstream in(saved);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Subject:\ta.eml"), std::string::npos) << text;
}

TEST_F(DirStoreTest, UnknownOrHostileEntryIdsAreNotFound) {
  const fs::path outside = tree.Root().parent_path() / (tree.Root().filename().string() + "-outside.eml");
  std::ofstream(outside) << Mail("outside");
  const std::string escape = "../" + outside.filename().string();
  for (const std::string& path : {escape, std::string("Mailbox/missing.eml"), std::string("Mailbox/cur"),
                                  std::string("Mailbox"), outside.string()}) {
    std::string id;
    for (unsigned char c : path) {
      static const char digits[] = "0123456789ABCDEF";
      id += digits[c >> 4];
      id += digits[c & 15];
    }
    EXPECT_THROW(store.GetItemFromID(id), MailStoreError) << path;
  }
  EXPECT_THROW(store.GetItemFromID("not hex"), MailStoreError);
  fs::remove(outside);
}

TEST(DirStorePicker, ListsEveryFolderAndReadsANumber) {
  TempTree tree;
  tree.Write("Mailbox/Inbox/Orders/a.eml", Mail("a"));
  tree.Write("Archive/b.eml", Mail("b"));
  auto pick = [&tree](const std::string& answer) {
    WindowHarness ui(answer);
    DirStore store(ui.app, tree.Root());
    auto folder = store.PickFolder();
    return std::pair{folder ? folder->FolderPath() : "none", ui.output.str()};
  };
  const auto [chosen, prompt] = pick("4\n");
  EXPECT_EQ(chosen, "\\\\Mailbox\\Inbox\\Orders");
  EXPECT_NE(prompt.find("1 \\\\Archive\n2 \\\\Mailbox\n3 \\\\Mailbox\\Inbox\n4 \\\\Mailbox\\Inbox\\Orders\n"),
            std::string::npos);
  EXPECT_EQ(pick(" 1 \n").first, "\\\\Archive");
  for (const std::string answer : {"", "\n", "0\n", "5\n", "-1\n", "two\n", "99999999999999999999\n"})
    EXPECT_EQ(pick(answer).first, "none") << answer;
}

TEST(DirStoreRoot, EnvironmentFirstThenTheSampleMailbox) {
  TempTree tree;
  {
    qs::testing::ScopedEnvironment root("QUILLSTOW_MAILROOT", tree.Root().string());
    EXPECT_EQ(FindMailRoot(), tree.Root().string());
  }
  {
    qs::testing::ScopedEnvironment root("QUILLSTOW_MAILROOT", (tree.Root() / "missing").string());
    EXPECT_THROW(FindMailRoot(), MailStoreError);
    WindowHarness ui;
    SearchMailFolder(ui.app, OpenMailStore, "\\\\Mailbox", ui.list, {});
    EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));
  }
  qs::testing::ScopedEnvironment unset("QUILLSTOW_MAILROOT", "");
  EXPECT_TRUE(fs::equivalent(FindMailRoot(), QUILLSTOW_SAMPLE_MAILBOX));
}

// Searches through the program's own store opener with the mail root set.
class MailRootSearch : public ::testing::Test {
 protected:
  void Search(const fs::path& root, const std::string& path, SearchOptions settings) {
    qs::testing::ScopedEnvironment mail_root("QUILLSTOW_MAILROOT", root.string());
    SearchMailFolder(ui.app, OpenMailStore, path, ui.list, settings);
  }
  Texts Column(int column) const {
    Texts texts;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) texts.emplace_back(ui.list.Text(row, column));
    return texts;
  }

  qs::testing::ScopedEnvironment utc{"TZ", "UTC"};
  WindowHarness ui;
};

TEST_F(MailRootSearch, SampleMailbox) {
  Search(QUILLSTOW_SAMPLE_MAILBOX, "\\\\mailbox", {"", "", "yyyy-mm-dd hh:nn"});
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(ui.list.RowCount(), 41);  // 43 messages, less a meeting request and a delivery report
  const Texts subjects = Column(2);
  // Drafts (its .eml files before its Maildir), then the Inbox.
  EXPECT_EQ(Texts(subjects.begin(), subjects.begin() + 4),
            (Texts{"Самовары: заказ", "Ideas for the winter catalogue", "Second flush – quantities",
                   "Tasting session moved to Friday"}));
  auto row_of = [&subjects](const std::string& subject) {
    const auto found = std::find(subjects.begin(), subjects.end(), subject);
    return found == subjects.end() ? 0 : static_cast<std::int32_t>(found - subjects.begin()) + 1;
  };
  EXPECT_EQ(row_of("Supplier review"), 0);
  EXPECT_EQ(row_of("Undelivered Mail Returned to Sender"), 0);
  const std::int32_t padded = row_of("Grüner Tee: neue Preise");
  ASSERT_NE(padded, 0);
  EXPECT_EQ(ui.list.Text(padded, 3), "Clara Whitfield");
  EXPECT_EQ(ui.list.Text(padded, 0), "2019-06-10 06:30");
  EXPECT_EQ(ui.list.Text(padded, 6), "\\\\Mailbox\\Inbox");
  const std::int32_t japanese = row_of("新茶のご案内");
  ASSERT_NE(japanese, 0);
  EXPECT_EQ(ui.list.Text(japanese, 1), "yuki.sato@uji-cha.example");
  EXPECT_EQ(ui.list.Text(japanese, 6), "\\\\Mailbox\\Inbox\\Suppliers\\Japan");
  EXPECT_NE(row_of("Предложение по самоварам"), 0);
  EXPECT_NE(row_of("白牡丹 2018 样品"), 0);
  // A message without a Date: Outlook's "none" as its sent time, its Received header's date as
  // its received time.
  const std::int32_t undated = row_of("Kettle inventory");
  ASSERT_NE(undated, 0);
  EXPECT_EQ(ui.list.Text(undated, 0), "4501-01-01 00:00");
  EXPECT_EQ(ui.list.Text(undated, 4), "2019-10-03 13:02");
  EXPECT_EQ(ui.list.Text(undated, 7), "2019-10-03 13:02");
}

TEST_F(MailRootSearch, SampleMailboxDateWindowAndDrafts) {
  Search(QUILLSTOW_SAMPLE_MAILBOX, "\\\\Mailbox\\Drafts", {"2019-10-07", "2019-10-08", "yyyy-mm-dd"});
  // The drafts are not sent, so their received time counts (from their Date, for want of a
  // Received header): 8 October 14:00 lies after "Before" at midnight.
  EXPECT_EQ(Column(2), (Texts{"Second flush – quantities"}));
  EXPECT_EQ(Column(0), (Texts{"2019-10-07"}));
  Search(QUILLSTOW_SAMPLE_MAILBOX, "\\\\Mailbox\\Drafts", {"2019-10-07", "2019-10-09", "yyyy-mm-dd"});
  EXPECT_EQ(Column(2), (Texts{"Самовары: заказ", "Second flush – quantities"}));
  Search(QUILLSTOW_SAMPLE_MAILBOX, "\\\\Archive", {"2015-01-01", "2015-12-31", "yyyy"});
  EXPECT_EQ(Column(2), (Texts{"Your statement for March 2015", "Standplan für die Messe",
                              "Danke für Ihren Besuch"}));
}

// Mail roots that someone else made: links, FIFOs, hard links, and mail that
// its client renames or removes while we read.
class HostileTree : public ::testing::Test {
 protected:
  HostileTree() {
    tree.Write("Mailbox/a.eml", Mail("a"));
    tree.Write("Mailbox/.stash/kept.eml", Mail("kept"));
    tree.Write("Mailbox/Inbox/b.eml", Mail("b"));
    tree.MakeDirectory("Mailbox/Inbox/new");
    tree.MakeDirectory("Mailbox/Shared");
    outside.Write("secret.eml", Mail("secret"));
    outside.Write("Elsewhere/c.eml", Mail("c"));
    for (const auto& [link, target] : std::vector<std::pair<std::string, fs::path>>{
             {"Mailbox/up", ".."},
             {"Mailbox/Inbox/loop1", ".."},
             {"Mailbox/Inbox/loop2", ".."},
             {"Mailbox/Outside", outside.Root() / "Elsewhere"},
             {"Mailbox/kept.eml", ".stash/kept.eml"},
             {"Mailbox/secret.eml", outside.Root() / "secret.eml"}})
      fs::create_symlink(target, tree.Root() / link);
    fs::create_hard_link(tree.Root() / "Mailbox/a.eml", tree.Root() / "Mailbox/Shared/a.eml");
    for (const std::string fifo : {"Mailbox/Inbox/fifo.eml", "Mailbox/Inbox/new/fifo"})
      if (mkfifo((tree.Root() / fifo).c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
    ui.app.SetDebugLevel(1);
  }

  std::string SubjectOf(const std::string& relative_path) {
    try {
      return store.GetItemFromID(EncodeEntryId(relative_path))->Subject();
    } catch (const MailStoreError&) {
      return "not found";
    }
  }

  TempTree tree;
  TempTree outside;
  WindowHarness ui;
  DirStore store{ui.app, tree.Root()};
};

TEST_F(HostileTree, SearchFinishesAndListsEachMailOnce) {
  SearchMailFolder(ui.app, [this](Application& app) { return std::make_unique<DirStore>(app, tree.Root()); },
                   "\\\\Mailbox", ui.list, {});
  Texts subjects;
  for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) subjects.emplace_back(ui.list.Text(row, 2));
  EXPECT_EQ(subjects, (Texts{"a", "kept", "b", "a"}));
  EXPECT_TRUE(ui.Messages().empty());
  for (const std::string passed_over : {"Mailbox/up: ", "Inbox/loop1: ", "Inbox/loop2: ",
                                        "Mailbox/Outside: ", "Mailbox/secret.eml: "})
    EXPECT_NE(ui.errors.str().find(passed_over), std::string::npos) << passed_over;
}

TEST_F(HostileTree, EntryIdsGoThroughNoLinkButAFileLinkInside) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Mailbox/kept.eml", "kept"},
      {"Mailbox/Shared/a.eml", "a"},
      {"Mailbox/secret.eml", "not found"},
      {"Mailbox/Outside/c.eml", "not found"},
      {"Mailbox/up/Mailbox/a.eml", "not found"},
      {"Mailbox/Inbox/fifo.eml", "not found"},
      {"Mailbox/Inbox/new/fifo", "not found"}};
  for (const auto& [path, subject] : cases) EXPECT_EQ(SubjectOf(path), subject) << path;
}

TEST_F(HostileTree, AFolderThatHoldsItselfIsNotEnteredAgain) {
  // As a folder mounted inside itself would be met.
  const StoreContext context(tree.Root());
  const auto mailbox = Directory::Below(*context.root, "Mailbox");
  const FileIdentity inbox = Directory::Below(*mailbox, "Inbox")->Identity();
  EXPECT_EQ(ListFolder(context, mailbox, {context.root->Identity(), inbox}).subfolders, (Texts{"Shared"}));
}

TEST_F(HostileTree, ARenamedMaildirFileIsFoundByItsOldEntryId) {
  const std::vector<std::pair<std::string, std::string>> renames = {
      {"Mailbox/cur/1:2,S", "Mailbox/cur/1:2,RS"},
      {"Mailbox/new/2", "Mailbox/cur/2:2,S"},
      {"Mailbox/new/3", "Mailbox/new/3:2,"}};
  tree.Write("Mailbox/cur/10:2,S", Mail("10"));
  for (const auto& [before, after] : renames) {
    tree.Write(before, Mail(before));
    fs::rename(tree.Root() / before, tree.Root() / after);
    EXPECT_EQ(store.GetItemFromID(EncodeEntryId(before))->EntryID(), EncodeEntryId(after)) << before;
  }
  EXPECT_EQ(SubjectOf("Mailbox/cur/4:2,S"), "not found");
}

TEST_F(HostileTree, AnItemRemovedBeforeItIsReadIsGoneWithTheSystemsReason) {
  const std::vector<std::function<std::unique_ptr<MailItem>()>> ways = {
      [this] { return store.TopFolder("Mailbox")->ItemAt(1); },
      [this] { return store.GetItemFromID(EncodeEntryId("Mailbox/a.eml")); }};
  for (const auto& fetch : ways) {
    tree.Write("Mailbox/a.eml", Mail("a"));
    const std::unique_ptr<MailItem> item = fetch();
    fs::remove(tree.Root() / "Mailbox/a.eml");
    try {
      item->Subject();
      ADD_FAILURE() << "read a removed mail";
    } catch (const ItemGone& gone) {
      EXPECT_NE(std::string(gone.what()).find(std::strerror(ENOENT)), std::string::npos) << gone.what();
    }
  }
}

}  // namespace
}  // namespace qs::dirstore

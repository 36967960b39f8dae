#include "mailstore/dirstore/dir_store.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "tests/common/temp_tree.h"
#include "tests/mailstore/window_harness.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::ScopedEnvironment;
using qs::testing::TempTree;
using qs::testing::WindowHarness;
using Texts = std::vector<std::string>;

std::string Mail(const std::string& subject) {
  return "Date: Tue, 30 Jun 2009 17:00:00 +0000\nFrom: Anna <anna@example.org>\nSubject: " +
         subject + "\n\nbody\n";
}

// A mail root as clients and users leave it (.eml files, Maildir folders,
// hidden entries, a save directory), with links, FIFOs and a hard link
// someone else made.
class DirStoreTest : public ::testing::Test {
 protected:
  DirStoreTest() {
    for (const char* name :
         {"Mailbox/b.EML", "Mailbox/a.eml", "Mailbox/notes.txt", "Mailbox/cur/2:2,S",
          "Mailbox/cur/1:2,S", "Mailbox/new/3", "Mailbox/tmp/4", "Mailbox/Zeta/Köln/y.eml",
          "Mailbox/.git/z.eml", "Mailbox/.stash/kept.eml", "Archive/old.eml",
          "Mailbox/Saved/hi/attachments/forwarded.eml", "Mailbox/Saved/.quillstow-saved"})
      tree.Write(name, Mail(fs::path(name).filename().string()));
    // A header block read in several pieces.
    std::string received;
    for (int i = 0; i < 200; ++i) received += "Received: by relay" + std::to_string(i) + ".example\n";
    tree.Write("Mailbox/b.EML", received + Mail("b.EML"));
    tree.Write("Mailbox/Zeta/invite.eml", "Subject: invite\nContent-Type: text/calendar; method=request\n\n");
    outside.Write("secret.eml", Mail("secret"));
    outside.Write("Elsewhere/c.eml", Mail("c"));
    fs::create_directories(tree.Root() / ".trash/deleted");
    fs::create_directories(tree.Root() / "Mailbox/Shared");
    for (const auto& [link, target] : std::vector<std::pair<std::string, fs::path>>{
             {"Mailbox/up", ".."}, {"Mailbox/Zeta/loop", ".."},
             {"Mailbox/Outside", outside.Root() / "Elsewhere"}, {"Mailbox/kept.eml", ".stash/kept.eml"},
             {"Mailbox/secret.eml", outside.Root() / "secret.eml"}})
      fs::create_symlink(target, tree.Root() / link);
    fs::create_hard_link(tree.Root() / "Mailbox/a.eml", tree.Root() / "Mailbox/Shared/a.eml");
    for (const std::string fifo : {"Mailbox/Zeta/fifo.eml", "Mailbox/new/fifo"})
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

  TempTree tree, outside;
  WindowHarness ui;
  DirStore store{ui.app, tree.Root()};
};

TEST_F(DirStoreTest, ItemsAndFoldersInTheStoresOrderFoundWithoutRegardToCase) {
  auto mailbox = store.TopFolder("MAILBOX");
  Texts subjects;
  for (std::int32_t i = 1; i <= mailbox->ItemCount(); ++i) subjects.push_back(mailbox->ItemAt(i)->Subject());
  EXPECT_EQ(subjects, (Texts{"a.eml", "b.EML", "kept.eml", "1:2,S", "2:2,S", "3"}));
  ASSERT_EQ(mailbox->SubfolderCount(), 2);
  EXPECT_EQ(mailbox->SubfolderAt(2)->FullPath(), "//Mailbox/Zeta");
  EXPECT_EQ(mailbox->Subfolder("zeta")->Subfolder("KÖLN")->FolderPath(), "\\\\Mailbox\\Zeta\\Köln");
  const std::function<void()> refused[] = {
      [&] { store.TopFolder(".trash"); }, [&] { store.TopFolder(""); },   [&] { mailbox->Subfolder("cur"); },
      [&] { mailbox->Subfolder(".git"); }, [&] { mailbox->Subfolder("up"); }, [&] { mailbox->ItemAt(7); }};
  for (const auto& lookup : refused) EXPECT_THROW(lookup(), MailStoreError);
}

TEST_F(DirStoreTest, SearchFinishesAndListsEachMailOnceWithoutFollowingLinks) {
  SearchMailFolder(ui.app, [this](Reporter& app) { return std::make_unique<DirStore>(app, tree.Root()); },
                   "\\\\Mailbox", ui.list, {});
  Texts subjects;
  for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) subjects.emplace_back(ui.list.Text(row, 2));
  EXPECT_EQ(subjects, (Texts{"a.eml", "b.EML", "kept.eml", "1:2,S", "2:2,S", "3", "a.eml", "y.eml"}));
  EXPECT_TRUE(ui.Messages().empty());
  for (const std::string passed_over :
       {"Mailbox/up: ", "Zeta/loop: ", "Mailbox/Outside: ", "Mailbox/secret.eml: ", "Mailbox/Saved: "})
    EXPECT_NE(ui.err.str().find(passed_over), std::string::npos) << passed_over;
}

// An entry identifier leads back to its item, through no link but a file
// link inside the mail root; an item fetched by it to be saved reads its
// file once: what it saves is what it listed.
TEST_F(DirStoreTest, EntryIdsLeadBackToTheItemAsListedAndNowhereElse) {
  auto mailbox = store.TopFolder("Mailbox");
  for (std::int32_t i = 1; i <= mailbox->ItemCount(); ++i) {
    auto item = store.GetItemFromID(mailbox->ItemAt(i)->EntryID());
    EXPECT_EQ(item->Parent()->FolderPath() + " " + item->Subject(),
              "\\\\Mailbox " + mailbox->ItemAt(i)->Subject());
  }
  EXPECT_EQ(mailbox->ItemAt(4)->EntryID().Hex(), "4D61696C626F782F6375722F313A322C53");  // Mailbox/cur/1:2,S
  const std::pair<std::string, std::string> rows[] = {
      {"Mailbox/kept.eml", "kept.eml"},
      {"Mailbox/Shared/a.eml", "a.eml"},
      {"Mailbox/secret.eml", "not found"},
      {"Mailbox/Outside/c.eml", "not found"},
      {"Mailbox/up/Mailbox/a.eml", "not found"},
      {"Mailbox/Zeta/fifo.eml", "not found"},
      {"Mailbox/new/fifo", "not found"},
      {"../" + outside.Root().filename().string() + "/secret.eml", "not found"},
      {(outside.Root() / "secret.eml").string(), "not found"},
      {"Mailbox/missing.eml", "not found"},
      {"Mailbox/cur", "not found"},
      {"Mailbox", "not found"},
      {"", "not found"}};
  for (const auto& [path, subject] : rows) EXPECT_EQ(SubjectOf(path), subject) << path;
  EXPECT_THROW(mailbox->ItemAt(1)->AttachmentAt(1), MailStoreError);
  auto item = store.GetItemFromID(EncodeEntryId("Mailbox/Zeta/Köln/y.eml"));
  EXPECT_EQ(item->Parent()->FolderPath() + " " + item->Subject(), "\\\\Mailbox\\Zeta\\Köln y.eml");
  tree.Write("Mailbox/Zeta/Köln/y.eml", Mail("changed"));
  item->SaveAs((tree.Root() / "y.txt").string(), SaveType::Text);
  EXPECT_NE(qs::testing::ReadFile(tree.Root() / "y.txt").find("Subject:\ty.eml"), std::string::npos);
  // One removed after it was listed, before it is read, is gone (not an
  // error that would end the search), with the system's reason.
  const std::unique_ptr<MailItem> removed = mailbox->ItemAt(2);
  fs::remove(tree.Root() / "Mailbox/b.EML");
  try {
    removed->Subject();
    ADD_FAILURE() << "read a removed mail";
  } catch (const ItemGone& gone) {
    EXPECT_NE(std::string(gone.what()).find(std::strerror(ENOENT)), std::string::npos) << gone.what();
  }
  // One replaced by a FIFO is read without waiting, and refused.
  const std::unique_ptr<MailItem> replaced = mailbox->ItemAt(1);
  fs::remove(tree.Root() / "Mailbox/a.eml");
  ASSERT_EQ(mkfifo((tree.Root() / "Mailbox/a.eml").c_str(), 0600), 0);
  EXPECT_THROW(replaced->Subject(), ItemUnreadable);
}

TEST_F(DirStoreTest, AFolderThatHoldsItselfIsNotEnteredAgain) {
  // As a folder mounted inside itself would be met.
  const StoreContext context(tree.Root());
  const auto mailbox = Directory::Below(*context.root, "Mailbox");
  const FileIdentity zeta = Directory::Below(*mailbox, "Zeta")->Identity();
  EXPECT_EQ(ListFolder(context, {mailbox, {context.root->Identity(), zeta}, nullptr, {}, nullptr, {}}).subfolders, (Texts{"Shared"}));
}

// Directories whose names differ only in letter case, as Windows would take
// them for one, show distinct names (numbered after a real sibling's name)
// in the list, the lookup, the fetched item's folder and its mark alike.
TEST_F(DirStoreTest, SiblingsNamedAlikeButForCaseShowDistinctNames) {
  for (const char* name : {"Mailbox/Zeta/Inbox/a.eml", "Mailbox/Zeta/INBOX/cur/b:2,S",
                           "Mailbox/Zeta/Inbox (2)/c.eml", "Mailbox/Zeta/inbox/d.eml", "MAILBOX/e.eml"})
    tree.Write(name, Mail(fs::path(name).filename().string()));
  const std::pair<std::string, std::string> rows[] = {
      {"MAILBOX/e.eml", "//MAILBOX"},
      {"Mailbox/Zeta/Köln/y.eml", "//Mailbox (2)/Zeta/Köln"},
      {"Mailbox/Zeta/INBOX/cur/b:2,S", "//Mailbox (2)/Zeta/INBOX"},
      {"Mailbox/Zeta/Inbox/a.eml", "//Mailbox (2)/Zeta/Inbox (3)"},
      {"Mailbox/Zeta/Inbox (2)/c.eml", "//Mailbox (2)/Zeta/Inbox (2)"},
      {"Mailbox/Zeta/inbox/d.eml", "//Mailbox (2)/Zeta/inbox (4)"}};
  DirStore fresh{ui.app, tree.Root()};  // one that listed nothing yet
  for (const auto& [path, folder] : rows) {
    EXPECT_EQ(store.TopFolder(folder.substr(2, folder.find('/', 2) - 2))->FullPath(),
              folder.substr(0, folder.find('/', 2))) << path;
    EXPECT_EQ(fresh.GetItemFromID(EncodeEntryId(path))->Parent()->FullPath(), folder) << path;
    EXPECT_EQ(fresh.MarkOf(EncodeEntryId(path))->folder, folder) << path;
  }
  const auto zeta = store.TopFolder("mailbox (2)")->Subfolder("Zeta");
  Texts listed;
  for (std::int32_t i = 1; i <= zeta->SubfolderCount(); ++i) listed.push_back(zeta->SubfolderAt(i)->FullPath());
  EXPECT_EQ(listed, (Texts{"//Mailbox (2)/Zeta/INBOX", "//Mailbox (2)/Zeta/Inbox (3)", "//Mailbox (2)/Zeta/Inbox (2)",
                           "//Mailbox (2)/Zeta/Köln", "//Mailbox (2)/Zeta/inbox (4)"}));
  EXPECT_EQ(zeta->Subfolder("INBOX (4)")->ItemAt(1)->Subject(), "d.eml");
}

// ... and keeps its identity, which no other mail shares.
TEST_F(DirStoreTest, ARenamedMaildirFileIsFoundByItsOldEntryId) {
  const std::pair<std::string, std::string> renames[] = {{"Mailbox/cur/1:2,S", "Mailbox/cur/1:2,RS"},
                                                         {"Mailbox/new/2", "Mailbox/cur/2:2,S"},
                                                         {"Mailbox/new/3", "Mailbox/new/3:2,"}};
  tree.Write("Mailbox/cur/10:2,S", Mail("10"));
  for (const auto& [before, after] : renames) {
    tree.Write(before, Mail(before));
    fs::rename(tree.Root() / before, tree.Root() / after);
    EXPECT_EQ(store.GetItemFromID(EncodeEntryId(before))->EntryID(), EncodeEntryId(after)) << before;
    EXPECT_EQ(store.GetItemFromID(EncodeEntryId(after))->Identity(), ItemIdentity(before)) << before;
  }
  EXPECT_EQ(SubjectOf("Mailbox/cur/4:2,S"), "not found");
  const std::set<std::string> distinct = {ItemIdentity("Mailbox/cur/1:2,S"), ItemIdentity("Mailbox/cur/10:2,S"),
                                          ItemIdentity("Mailbox/1"), ItemIdentity("Mailbox/cur/1"),
                                          ItemIdentity("Other/cur/1:2,S"), ItemIdentity("cur/1")};
  EXPECT_EQ(distinct.size(), 5u) << "cur/1 and cur/1:2,S are the one mail";
}

// A mail's mark, had from a look at its file, is what fetching it gives; a
// file that is not under its listed name any more has none, and is fetched.
TEST_F(DirStoreTest, AMarkIsWhatTheFetchedItemGives) {
  tree.Write("Mailbox/Inbox/a.eml", Mail("a"));
  tree.Write("Mailbox/cur/5:2,S", Mail("5"));
  for (const std::string path : {"Mailbox/Inbox/a.eml", "Mailbox/cur/5:2,S"}) {
    const std::optional<ItemMark> mark = store.MarkOf(EncodeEntryId(path));
    ASSERT_TRUE(mark) << path;
    const std::unique_ptr<MailItem> item = store.GetItemFromID(EncodeEntryId(path));
    EXPECT_EQ(mark->identity, item->Identity()) << path;
    EXPECT_EQ(mark->folder, item->Parent()->FullPath()) << path;
    EXPECT_EQ(mark->modified, item->LastModificationTime()) << path;
    EXPECT_EQ(mark->size, item->Size()) << path;
  }
  fs::rename(tree.Root() / "Mailbox/cur/5:2,S", tree.Root() / "Mailbox/cur/5:2,RS");
  EXPECT_FALSE(store.MarkOf(EncodeEntryId("Mailbox/cur/5:2,S")));
  EXPECT_FALSE(store.MarkOf(EncodeEntryId("Mailbox/../Mailbox/Inbox/a.eml")));
}

TEST(DirStorePicker, ListsEveryFolderAndReadsANumber) {
  TempTree tree;
  tree.Write("Mailbox/Inbox/Orders/a.eml", Mail("a"));
  tree.Write("Archive/b.eml", Mail("b"));
  auto pick = [&tree](const std::string& answer) {
    WindowHarness ui(answer);
    auto folder = DirStore(ui.app, tree.Root()).PickFolder();
    return std::pair{folder ? folder->FolderPath() : "none", ui.out.str()};
  };
  const auto [chosen, prompt] = pick("4\n");
  EXPECT_EQ(chosen, "\\\\Mailbox\\Inbox\\Orders");
  EXPECT_NE(prompt.find("1 \\\\Archive\n2 \\\\Mailbox\n3 \\\\Mailbox\\Inbox\n4 \\\\Mailbox\\Inbox\\Orders\n"),
            std::string::npos);
  EXPECT_EQ(pick(" 1 \n").first, "\\\\Archive");
  for (const std::string answer : {"", "0\n", "5\n", "two\n", "99999999999999999999\n"})
    EXPECT_EQ(pick(answer).first, "none") << answer;  // A mail root without folders is said to be so, not offered as an empty list.
  TempTree empty;
  WindowHarness ui;
  EXPECT_THROW(DirStore(ui.app, empty.Root()).PickFolder(), MailStoreError);
}

// The program's own store opener over the sample mailbox: several threads
// list the same rows, in the same order, as one.
TEST(MailRootSearch, SampleMailboxOnSeveralThreadsAsOnOne) {
  const ScopedEnvironment utc("TZ", "UTC"), root("QUILLSTOW_MAILROOT", QUILLSTOW_SAMPLE_MAILBOX);
  const auto search = [](const char* threads, const std::string& path, SearchOptions settings) {
    const ScopedEnvironment workers("QUILLSTOW_THREADS", threads);
    WindowHarness ui;
    SearchMailFolder(ui.app, OpenMailStore, path, ui.list, settings);
    EXPECT_TRUE(ui.Messages().empty());
    std::vector<RowTexts> rows;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) rows.push_back(ui.list.Texts(row));
    return rows;
  };
  const auto rows = search("4", "\\\\mailbox", {"", "", "yyyy-mm-dd hh:nn"});
  EXPECT_EQ(rows.size(), 41u);  // 43 messages, less a meeting request and a delivery report
  EXPECT_EQ(search("1", "\\\\Mailbox", {"", "", "yyyy-mm-dd hh:nn"}), rows);
  // Without a Date: Outlook's "none" as its sent time, the Received header's date as its received time.
  const auto undated = std::find_if(
      rows.begin(), rows.end(), [](const RowTexts& row) { return row[2] == "Kettle inventory"; });
  ASSERT_NE(undated, rows.end());
  EXPECT_EQ((*undated)[0] + " " + (*undated)[4] + " " + (*undated)[7],
            "4501-01-01 00:00 2019-10-03 13:02 2019-10-03 13:02");
  // Unsent drafts count their received time (their Date, for want of a
  // Received header): 8 October 14:00 lies after "Before" at midnight.
  const auto drafts = search("4", "\\\\Mailbox\\Drafts", {"2019-10-07", "2019-10-08", "yyyy-mm-dd"});
  ASSERT_EQ(drafts.size(), 1u);
  EXPECT_EQ(drafts[0][2], "Second flush – quantities");
}

}  // namespace
}  // namespace qs::dirstore

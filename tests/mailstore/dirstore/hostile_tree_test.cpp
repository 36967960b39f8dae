// Mail roots that someone else made: links, FIFOs, hard links, and mail that
// its client renames or removes while we read.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "mailstore/dirstore/dir_store.h"
#include "mailstore/dirstore/entry_id.h"
#include "mailstore/dirstore/folder_listing.h"
#include "mailstore/search.h"
#include "tests/mailstore/dirstore/temp_tree.h"
#include "tests/mailstore/window_harness.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::TempTree;
using qs::testing::WindowHarness;
using Texts = std::vector<std::string>;

std::string Mail(const std::string& subject) {
  return "Date: Tue, 30 Jun 2009 17:00:00 +0000\nFrom: anna@example.org\nSubject: " + subject + "\n\nbody\n";
}

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

// Mail that other programs keep: Maildir++ folders and mbox files in the
// mail root, each tree checked by every folder's path and subjects.
#include <fcntl.h>
#include <gtest/gtest.h>

#include "mailstore/dirstore/dir_store.h"
#include "mailstore/dirstore/folder_chooser.h"
#include "mailstore/dirstore/mbox_scan.h"
#include "mailstore/mime/header_block.h"
#include "platform/posix/file_descriptor.h"
#include "tests/common/temp_tree.h"
#include "tests/mailstore/window_harness.h"

namespace qs::dirstore {
namespace {

namespace fs = std::filesystem;
using qs::testing::TempTree;
using qs::testing::WindowHarness;
using Texts = std::vector<std::string>;

std::string Mail(const std::string& subject) {
  return "Date: Tue, 30 Jun 2009 17:00:00 +0000\nFrom: a@example.org\nSubject: " + subject + "\n\nbody\n";
}

// Each folder as "path: subjects", depth first; each item also fetched by
// its entry identifier, which must lead back to it in the same folder.
Texts Walk(DirStore& store) {
  Texts walked;
  for (const auto& folder : AllFolders(store.TopLevelFolders())) {
    std::string line = folder->FullPath() + ":";
    for (std::int32_t i = 1; i <= folder->ItemCount(); ++i) {
      const auto item = folder->ItemAt(i);
      line += " " + item->Subject();
      const auto fetched = store.GetItemFromID(item->EntryID());
      EXPECT_EQ(fetched->Parent()->FullPath() + fetched->Subject(), folder->FullPath() + item->Subject());
    }
    walked.push_back(line);
  }
  return walked;
}

TEST(Mailboxes, MaildirPlusFoldersAreATreeOfDecodedNames) {
  TempTree tree;
  for (const char* name : {"Box/cur/1:2,S", "Box/.Sent/cur/2:2,S", "Box/.Archive.2015/new/3",
                           "Box/.K&APY-ln/cur/4", "Box/.K&APY-ln.&-x/cur/5", "Box/.notes/x.eml",
                           "Box/.bad..name/cur/6"})
    tree.Write(name, Mail(fs::path(name).filename().string()));
  for (const char* maildir : {"Box", "Box/.Sent", "Box/.Archive.2015", "Box/.K&APY-ln", "Box/.K&APY-ln.&-x",
                              "Box/.bad..name"})
    for (const char* sub : {"cur", "new", "tmp"}) fs::create_directories(tree.Root() / maildir / sub);
  const Texts expected{"//Box: 1:2,S",  "//Box/Archive:", "//Box/Archive/2015: 3", "//Box/Köln: 4",
                       "//Box/Köln/&x: 5", "//Box/Sent: 2:2,S"};
  WindowHarness ui;
  ui.app.SetDebugLevel(1);
  DirStore store{ui.app, tree.Root()};
  EXPECT_EQ(Walk(store), expected);
  for (const std::string passed_over : {"Box/.notes: ", "Box/.bad..name: "})
    EXPECT_NE(ui.err.str().find(passed_over), std::string::npos) << passed_over;
  // The Maildir as the mail root is one store of its name, and nothing
  // beside it is part of that store.
  tree.Write("Other/cur/7", Mail("7"));
  DirStore maildir{ui.app, tree.Root() / "Box"};
  EXPECT_EQ(Walk(maildir), expected);
  EXPECT_THROW(maildir.GetItemFromID(EntryId(std::string("Other/cur/7"))), MailStoreError);
}

// An mbox file of the messages, each after its "From " line and before the
// empty line that ends it.
std::string Mbox(const Texts& messages) {
  std::string file;
  for (const std::string& message : messages) file += "From a@example.org Tue Jun 30 17:00:00 2009\n" + message + "\n";
  return file;
}

std::string Quoted(const std::string& subject, const std::string& status) {
  return "Subject: " + subject + "\nStatus: " + status + "\nX-Mozilla-Status: 000" + std::to_string(status.size()) +
         "\n\n>From here\nFrom inside\n>>From deeper\n";
}

TEST(Mailboxes, MboxFilesAreFoldersOfTheirMessages) {
  TempTree tree;
  tree.Write("Mail/Inbox", Mbox({Mail("one"), Quoted("two", "O"), Mail("three"), Mail("three")}));
  tree.Write("Mail/Inbox.msf", "From the index of a mail program\n");
  tree.Write("Mail/Trash", "");
  tree.Write("Mail/Trash.msf", "");
  tree.Write("Mail/Inbox.sbd/Work", Mbox({Mail("w1")}));
  tree.Write("Mail/Inbox.sbd/Empty", "");
  tree.Write("Mail/Inbox.sbd/Empty.sbd/Deep", Mbox({Mail("deep")}));
  tree.Write("Mail/Lists.mbox", Mbox({Mail("l1")}));
  tree.Write("Mail/Lists/a.eml", Mail("a"));
  tree.Write("Mail/notes.txt", "Fromage\n");
  tree.Write("Mail/headers", "From : a@example.org\n");
  tree.Write("Mail/x.eml", "From a@example.org Tue Jun 30 17:00:00 2009\n" + Mail("x"));
  WindowHarness ui;
  DirStore store{ui.app, tree.Root()};
  EXPECT_EQ(Walk(store), (Texts{"//Mail: x", "//Mail/Inbox: one two three three", "//Mail/Inbox/Empty:",
                                "//Mail/Inbox/Empty/Deep: deep", "//Mail/Inbox/Work: w1", "//Mail/Lists: a",
                                "//Mail/Lists (2): l1", "//Mail/Trash:"}));
  // Saved as a MIME message file: the message as it is, unquoted.
  const auto inbox = store.TopFolder("Mail")->Subfolder("Inbox");
  const std::string saved = (tree.Root() / "two.eml").string();
  store.GetItemFromID(inbox->ItemAt(2)->EntryID())->SaveAs(saved, SaveType::Eml);
  EXPECT_EQ(qs::testing::ReadFile(saved),
            "Subject: two\nStatus: O\nX-Mozilla-Status: 0001\n\nFrom here\nFrom inside\n>From deeper\n");
  // Marked read, others deleted and compacted, more appended: every
  // message left keeps its identity and size, and is found by its old
  // identifier.
  std::vector<std::pair<EntryId, std::string>> before;
  std::vector<std::int64_t> sizes;
  for (std::int32_t i = 2; i <= 4; ++i) {
    const auto item = inbox->ItemAt(i);
    before.emplace_back(item->EntryID(), item->Identity());
    sizes.push_back(item->Size());
  }
  EXPECT_NE(before[1].second, before[2].second);
  tree.Write("Mail/Inbox", Mbox({Quoted("two", "RO"), Mail("three"), Mail("three"), Mail("four")}));
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto item = store.GetItemFromID(before[i].first);
    EXPECT_EQ(item->Identity(), before[i].second);
    EXPECT_EQ(item->Size(), sizes[i]);
    EXPECT_EQ(item->LastModificationTime(), NoDate());
  }
  EXPECT_EQ(store.TopFolder("Mail")->Subfolder("Inbox")->ItemAt(1)->Identity(), before[0].second);
  tree.Write("Mail/Inbox", Mbox({Mail("four")}));
  EXPECT_THROW(store.GetItemFromID(before[0].first), MailStoreError);
}

// A file still being written is read up to the size it had when it was
// opened, and a last message cut short there is left for later.
TEST(Mailboxes, AMessageStillBeingAppendedIsLeftForLater) {
  TempTree tree;
  const std::string whole = Mbox({Mail("one"), Mail("two")});
  tree.Write("Inbox", whole);
  const FileDescriptor file(open((tree.Root() / "Inbox").c_str(), O_RDONLY));
  const auto subjects = [&](std::uint64_t limit) {
    std::string found;
    ScanMbox(file.Get(), "Inbox", 0, limit, [&](const MboxMessage& message) {
      found += ScanHeaders(ReadMboxHeaderBlock(file.Get(), "Inbox", message)).subject;
      return true;
    });
    return found;
  };
  EXPECT_EQ(subjects(whole.size()), "onetwo");
  EXPECT_EQ(subjects(whole.size() - 4), "one");
  tree.Write("Inbox", whole.substr(0, whole.size() - 1));  // a writer that leaves out the last empty line
  EXPECT_EQ(subjects(whole.size() - 1), "onetwo");
}

}  // namespace
}  // namespace qs::dirstore

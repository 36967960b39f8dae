// Mail that other programs keep: Maildir++ folders and mbox files in the
// mail root, each tree checked by every folder's path and subjects.
#include <gtest/gtest.h>

#include "mailstore/dirstore/dir_store.h"
#include "mailstore/dirstore/folder_chooser.h"
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

}  // namespace
}  // namespace qs::dirstore

// The data-file store over the sample files, through the interface the
// search and the save use.
#include "mailstore/mailroot/mail_root_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "mailstore/folder_names.h"
#include "mailstore/message/eml_form.h"
#include "mailstore/message/message_file_bag.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/message/text_forms.h"
#include "mailstore/properties/message_reader.h"
#include "mailstore/mailroot/mail_root.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/pststore/pff_shortcuts.h"
#include "mailstore/search.h"
#include "tests/common/temp_tree.h"
#include "tests/mailstore/window_harness.h"

namespace qs::pststore {
namespace {

namespace fs = std::filesystem;
using mailroot::MailRootStore;
using qs::testing::OutputOf;
using qs::testing::ReadFile;
using qs::testing::ScopedEnvironment;
using qs::testing::TempTree;

const fs::path kCorpus = QUILLSTOW_PST_CORPUS;

// A message file's HTML declares the UTF-8 it was converted to, its
// attached messages' too: the declaration taken out, it is the mail's.
void Undeclared(MessageContent& content) {
  constexpr std::string_view kDeclared = "<meta charset=\"utf-8\">";
  if (const auto at = content.html_body ? content.html_body->find(kDeclared) : std::string::npos; at != std::string::npos)
    content.html_body->erase(at, kDeclared.size() + (at == 0 ? 1 : 0));
  for (MessageAttachment& attachment : content.attachments)
    if (attachment.message) {
      auto message = std::make_shared<MessageContent>(*attachment.message);
      Undeclared(*message);
      attachment.message = message;
    }
}

class PstStoreTest : public ::testing::Test {
 protected:
  void Add(const std::string& name, const std::string& as = {}) {
    fs::copy_file(kCorpus / name, tree.Root() / (as.empty() ? name : as));
  }
  // Zeroes 4 KiB of the copy at offset, as a bad disk sector would.
  void Damage(const std::string& name, std::streamoff offset) {
    std::fstream file(tree.Root() / name, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(std::string(4096, '\0').data(), 4096);
  }

  std::vector<FoundItem> Search(const std::string& path) {
    const ScopedEnvironment root("QUILLSTOW_MAILROOT", tree.Root().string());
    SearchMailFolder(ui.app, OpenMailStore, path, ui.list, {});
    std::vector<FoundItem> rows;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) rows.push_back(ui.list.Item(row));
    return rows;
  }

  TempTree tree;
  qs::testing::WindowHarness ui;
};

TEST_F(PstStoreTest, EachFileIsAStoreNamedAsOutlookShowsItAndSearchedWhole) {
  for (const char* name : {"sample1.pst", "source.pst", "SampleOstFile.ost", "sample2.pst", "Test_part1.pst"})
    Add(name);
  Add("alpha-beta-gamma-delta.pst", "named-by-its-store.PST");
  tree.Write("Mailbox/a.eml", "Subject: dir\n\nbody\n");
  MailRootStore store(ui.app, tree.Root(), 1252);
  EXPECT_EQ(store.TopFolder("outlook")->Subfolder("Inbox")->Subfolder("SubInbox")->FullPath(),
            "//Outlook/Inbox/SubInbox");
  // An offline store without a name: its file's name, its folders from IPM_SUBTREE.
  EXPECT_EQ(store.TopFolder("SampleOstFile")->Subfolder("Inbox")->SubfolderCount(), 2);
  EXPECT_EQ(store.TopFolder("alpha-beta-gamma-delta")->ItemCount(), 1);
  // Sibling folders of one name each get a name of their own, in the file's
  // order, and are reached by it; a real sibling's name is never taken.
  const std::unique_ptr<Folder> personal = store.TopFolder("Personal folders");
  EXPECT_EQ(personal->SubfolderAt(personal->SubfolderCount())->FullPath(), "//Personal folders/Inbox (2)");
  const std::unique_ptr<Folder> deleted = personal->Subfolder("deleted items");
  ASSERT_EQ(deleted->SubfolderCount(), 2);
  EXPECT_EQ(deleted->SubfolderAt(2)->FullPath(), "//Personal folders/Deleted Items/SubInbox (2)");
  EXPECT_EQ(deleted->Subfolder("subinbox (2)")->FullPath(), "//Personal folders/Deleted Items/SubInbox (2)");
  std::vector<std::string> siblings{"Inbox", "INBOX", "Inbox (2)", "inbox"};
  MakeNamesDistinct(siblings);
  EXPECT_EQ(siblings, (std::vector<std::string>{"Inbox", "INBOX (3)", "Inbox (2)", "inbox (4)"}));
  EXPECT_EQ(store.TopFolder("Mailbox")->ItemCount(), 1);
  EXPECT_FALSE(store.ItemsInParallel()) << "data files are read on one thread";
  EXPECT_TRUE(MailRootStore(ui.app, tree.Root() / "Mailbox", 1252).ItemsInParallel())
      << "mail files alone are read on several";
  EXPECT_EQ(Search("\\\\SampleOstFile").size(), 80u);  // its IPM.Note items
  const std::vector<FoundItem> ansi = Search("\\\\sample2");
  ASSERT_EQ(ansi.size(), 1u);
  EXPECT_EQ(ansi[0].subject + " in " + ansi[0].folder, "Here is a sample message in \\\\sample2\\Sample2");
  EXPECT_EQ(ansi[0].entry_id.Hex().substr(0, 40), "000000005224CB63E0454243979665600689867A");
  // Its only unreadable items are contacts: no mail, passed over as such.
  ui.app.SetDebugLevel(1);
  EXPECT_EQ(Search("\\\\Personal folders").size(), 31u);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{});
  EXPECT_NE(ui.err.str().find("12 unreadable items of folders that hold no mail"), std::string::npos);
}

TEST_F(PstStoreTest, DamagedCopiedAndLinkedFilesAreNamedAndTheOthersStillWork) {
  Add("corrupt-header.pst");
  Add("sample1.pst");
  Add("sample1.pst", "x-copy.pst");
  TempTree elsewhere;
  fs::copy_file(kCorpus / "sample2.pst", elsewhere.Root() / "sample2.pst");
  fs::create_symlink(elsewhere.Root() / "sample2.pst", tree.Root() / "linked.pst");
  EXPECT_EQ(Search("\\\\sample1\\Sample1").size(), 1u);
  const std::vector<std::string> messages = ui.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("corrupt-header.pst"), std::string::npos) << messages[0];
  EXPECT_NE(messages[1].find("sample1.pst and "), std::string::npos) << messages[1];
  EXPECT_NE(messages[1].find("x-copy.pst"), std::string::npos) << messages[1];
  EXPECT_THROW(MailRootStore(ui.app, tree.Root(), 1252).TopFolder("sample2"), MailStoreError);
  // A single file as the mail root; a damaged one is the store's failure.
  MailRootStore single(ui.app, elsewhere.Root() / "sample2.pst", 1252);
  EXPECT_EQ(single.TopFolder("sample2")->Subfolder("Sample2")->ItemCount(), 1);
  const ScopedEnvironment root("QUILLSTOW_MAILROOT", (tree.Root() / "corrupt-header.pst").string());
  EXPECT_THROW(MailRootStore(ui.app, mailroot::FindMailRoot(), 1252), MailStoreError);
}

// The code page setting: a number the system knows, or else a message and the store's own.
TEST_F(PstStoreTest, AnUnknownCodePageSettingIsReportedAndTheFilesStillRead) {
  Add("sample2.pst");
  const ScopedEnvironment root("QUILLSTOW_MAILROOT", tree.Root().string());
  EXPECT_NE(OpenMailStoreWith(ui.app, {"1251"}), nullptr);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_NE(OpenMailStoreWith(ui.app, {"Cyrillic"}), nullptr);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].find("AnsiCodePage=Cyrillic"), std::string::npos);
}

TEST_F(PstStoreTest, ItemsFetchedByEntryIdSaveInEveryFormWithTheirAttachments) {
  Add("source.pst");
  const std::vector<FoundItem> rows = Search("\\\\Outlook");
  // Two of the Inbox's mails were delivered but never submitted: listed by
  // their delivery, as the other readers of such files list them.
  ASSERT_EQ(rows.size(), 14u);
  const fs::path out = tree.Root() / "out";
  fs::create_directory(out);
  MailRootStore store(ui.app, tree.Root(), 1252);
  std::set<std::string> saved_data;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::unique_ptr<MailItem> item = store.GetItemFromID(rows[i].entry_id);
    EXPECT_EQ(item->Subject(), rows[i].subject);
    EXPECT_EQ(item->Parent()->FolderPath(), rows[i].folder);
    // The folder a search listed it in is looked in first; one that does not
    // hold it, or is no folder at all, leaves the item in its own.
    const auto other = std::find_if(rows.begin(), rows.end(), [&](const FoundItem& row) { return row.folder != rows[i].folder; });
    ASSERT_NE(other, rows.end());
    for (const std::string& listed : {rows[i].folder, other->folder,
                                      rows[i].folder + "\\nowhere", std::string("\\\\Outlook\\Inbo")})
      EXPECT_EQ(store.GetListedItem(rows[i].entry_id, listed)->Parent()->FolderPath(), rows[i].folder) << listed;
    const std::string base = (out / std::to_string(i)).string();
    item->SaveAs(base + ".msg", SaveType::MessageUnicode);
    item->SaveAs(base + ".txt", SaveType::Text);
    item->SaveAs(base + ".rtf", SaveType::RichText);
    for (std::int32_t a = 1; a <= item->AttachmentCount(); ++a) {
      const std::string path = base + "-" + std::to_string(a);
      item->AttachmentAt(a)->SaveAsFile(path);
      saved_data.insert(ReadFile(path));
    }
  }
  // Every attachment of data is what the library's own exporter writes.
  TempTree exported;
  OutputOf("pffexport -q -t '" + (exported.Root() / "x").string() + "' '" +
           (kCorpus / "source.pst").string() + "' 2>&1");
  std::size_t compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(exported.Root())) {
    const std::string path = entry.path().string();
    if (!entry.is_regular_file() || path.find("/Attachments/") == std::string::npos ||
        path.find("/Attachment0") != std::string::npos)
      continue;
    ++compared;
    EXPECT_TRUE(saved_data.count(ReadFile(entry.path()))) << path;
  }
  EXPECT_GE(compared, 30u);
  // Every message file, attached ones among them, passes libolecf's container check.
  // The count of files checked comes last.
  EXPECT_EQ(OutputOf("cd '" + out.string() +
                     "' && n=0 && for f in *.msg *-[0-9]*; do case $(head -c 4 \"$f\" | od -An -tx1) in "
                     "*d0*cf*11*e0*) n=$((n+1)); olecfinfo \"$f\" >/dev/null 2>&1 || echo \"$f\";; "
                     "esac; done; echo $n"),
            "18\n");
}

// Every mail of every sample file as a MIME message file: Python's email
// package finds no defect in its MIME fields or parts, every attachment
// holds what the library's own exporter writes, attached messages are parts
// of their own, and a second save gives the same bytes.
TEST_F(PstStoreTest, EveryMailSavesAsAMimeMessageFileThatPythonReads) {
  const std::vector<std::string> files{"sample1.pst", "sample2.pst", "submessage.pst", "alpha-beta-gamma-delta.pst",
                                       "source.pst", "SampleOstFile.ost", "Test_part1.pst"};
  for (const std::string& file : files) Add(file);
  MailRootStore store(ui.app, tree.Root(), 1252);
  TempTree out;
  std::string paths;
  std::size_t saved = 0;
  for (const std::string& name : store.DataFileStoreNames()) {
    const std::vector<FoundItem> rows = Search("\\\\" + name);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string base = (out.Root() / (name + "-" + std::to_string(i))).string();
      for (const char* copy : {".eml", ".again"})
        store.GetItemFromID(rows[i].entry_id)->SaveAs(base + copy, SaveType::Eml);
      EXPECT_EQ(ReadFile(base + ".eml"), ReadFile(base + ".again")) << base;
      // Its message file, read back, makes the same bytes.
      store.GetItemFromID(rows[i].entry_id)->SaveAs(base + ".msg", SaveType::MessageUnicode);
      const auto bag = MessageFileBag(std::make_shared<const CompoundReader>(ReadFile(base + ".msg")));
      MessageContent content = ReadMessage(*bag, {});
      Undeclared(content);
      std::string again;
      EmlForm(content, BodyAsText, TimeOf(*bag, kDeliveryTime)).WriteTo([&again](std::string_view piece) {
        again.append(piece);
      });
      EXPECT_EQ(again, ReadFile(base + ".eml")) << base;
      fs::remove(base + ".msg");
      paths += " '" + base + ".eml'";
      ++saved;
    }
  }
  EXPECT_EQ(saved, 129u);
  const fs::path decoded = out.Root() / "decoded";
  fs::create_directory(decoded);
  EXPECT_EQ(OutputOf(QUILLSTOW_PYTHON " " QUILLSTOW_CHECK_EML " '" + decoded.string() + "'" + paths + " 2>&1"),
            "129 files 103 attachments 18 messages\n");
  std::set<std::string> attachments;
  for (const auto& entry : fs::directory_iterator(decoded)) attachments.insert(ReadFile(entry.path()));
  std::size_t compared = 0;
  for (const std::string& file : files) {
    TempTree exported;
    OutputOf("pffexport -q -t '" + (exported.Root() / "x").string() + "' '" + (kCorpus / file).string() + "' 2>&1");
    for (const auto& entry : fs::recursive_directory_iterator(exported.Root())) {
      const std::string path = entry.path().string();
      // The mails' own, not those of appointments, which are not listed.
      if (!entry.is_regular_file() || path.find("/Message0") == std::string::npos ||
          path.find("/Attachments/") == std::string::npos || path.find("/Attachment0") != std::string::npos)
        continue;
      ++compared;
      EXPECT_TRUE(attachments.count(ReadFile(entry.path()))) << path;
    }
  }
  EXPECT_GE(compared, 80u);
}

// The library's lookups are cut short in the program (pff_shortcuts.h):
// in effect, and what is saved is what the library alone gives.
TEST_F(PstStoreTest, TheLibrarysShortcutsAreInEffectAndChangeNoSavedByte) {
  Add("SampleOstFile.ost");
  const auto save_all = [&](const std::string& into) {
    const fs::path out = tree.Root() / into;
    fs::create_directory(out);
    MailRootStore store(ui.app, tree.Root(), 1252);
    const std::vector<FoundItem> rows = Search("\\\\SampleOstFile");
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::unique_ptr<MailItem> item = store.GetItemFromID(rows[i].entry_id);
      item->SaveAs((out / (std::to_string(i) + ".msg")).string(), SaveType::MessageUnicode);
      item->SaveAs((out / (std::to_string(i) + ".txt")).string(), SaveType::Text);
    }
    return out;
  };
  const std::uint64_t before = NameMapWalksSkipped();
  const fs::path shortened = save_all("shortened");
  EXPECT_GT(NameMapWalksSkipped() - before, 10000u);
  UsePffShortcuts(false);
  const fs::path whole = save_all("whole");
  UsePffShortcuts(true);
  std::size_t compared = 0;
  for (const auto& entry : fs::directory_iterator(whole)) {
    EXPECT_EQ(ReadFile(entry.path()), ReadFile(shortened / entry.path().filename())) << entry.path();
    ++compared;
  }
  EXPECT_EQ(compared, 160u);
}

// A block of the file lost (zeroed) takes an attachment's data with it: the
// mail is never saved as if whole. No message file and no attachment file is
// written without the data; the text form, which holds no attachments, is
// written and still reported.
TEST_F(PstStoreTest, AnAttachmentWhoseDataIsLostIsNeverSavedAsIfWhole) {
  Add("source.pst");
  Damage("source.pst", 178 * 4096);
  std::size_t damaged = 0;
  MailRootStore store(ui.app, tree.Root(), 1252);
  for (const FoundItem& row : Search("\\\\Outlook")) {
    const std::unique_ptr<MailItem> item = store.GetItemFromID(row.entry_id);
    const fs::path base = tree.Root() / "out";
    try {
      item->SaveAs(base.string() + ".msg", SaveType::MessageUnicode);
      fs::remove(base.string() + ".msg");
      continue;
    } catch (const MailStoreError& error) {
      EXPECT_NE(std::string(error.what()).find("image001.png"), std::string::npos) << error.what();
    }
    ++damaged;
    EXPECT_FALSE(fs::exists(base.string() + ".msg"));
    EXPECT_THROW(item->SaveAs(base.string() + ".txt", SaveType::Text), MailStoreError);
    EXPECT_TRUE(fs::exists(base.string() + ".txt"));
    EXPECT_THROW(item->AttachmentAt(1)->SaveAsFile(base.string() + ".png"), MailStoreError);
    EXPECT_FALSE(fs::exists(base.string() + ".png"));
  }
  EXPECT_EQ(damaged, 1u);
}

// Here the Inbox's table of messages is lost: the search ends there with
// the reason, not with the other folders listed as if that were all.
TEST_F(PstStoreTest, AFolderWhoseMailCannotBeCountedEndsTheSearchWithTheReason) {
  Add("SampleOstFile.ost");
  Damage("SampleOstFile.ost", 1276180);
  EXPECT_LT(Search("\\\\SampleOstFile").size(), 80u);
  EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Can't access the specified Mail Folder."}));
  EXPECT_NE(ui.err.str().find("cannot count the messages of a folder"), std::string::npos) << ui.err.str();
}

}  // namespace
}  // namespace qs::pststore

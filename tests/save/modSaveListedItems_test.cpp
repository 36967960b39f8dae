#include "save/modSaveListedItems.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "platform/system.h"
#include "save/frmProgress.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using Tree = std::set<std::string>;
using Texts = std::vector<std::string>;

// What a name that would begin with a dot gets in front: "_" where such a
// name is hidden, nothing on Windows.
std::string Dot() { return LeadingDotHides() ? "_" : ""; }

// The store that one run opens and drops; the fake behind it outlives runs,
// so that the tests can look at what each run did.
class BorrowedStore : public MailStore {
 public:
  explicit BorrowedStore(MailStore& store) : store_(store) {}
  std::unique_ptr<Folder> TopFolder(const std::string& name) override {
    return store_.TopFolder(name);
  }
  std::unique_ptr<Folder> PickFolder() override { return store_.PickFolder(); }
  std::unique_ptr<MailItem> GetItemFromID(const std::string& id) override {
    return store_.GetItemFromID(id);
  }

 private:
  MailStore& store_;
};

class SaveRun : public ::testing::Test {
 protected:
  // Adds a listed row for a mail of the store.
  void List(const std::string& id, const std::string& subject, testing::FakeMail mail = {}) {
    test::Row row;
    row.entry_id = id;
    row.subject = subject;
    fixture.Add(row);
    store.mails[id] = std::move(mail);
  }
  void Save(const std::string& dir) { Save(mail_folder, dir); }
  void Save(const std::string& folder, const std::string& dir) {
    SaveListedItems(fixture.app, opener, folder, fixture.list, dir, settings);
  }
  // A mail in a folder below the mail folder ("a\\b"), or with attachments.
  static testing::FakeMail In(const std::string& subfolder) {
    testing::FakeMail mail;
    mail.folder += "\\" + subfolder;
    return mail;
  }
  static testing::FakeMail With(Texts attachments) {
    testing::FakeMail mail;
    mail.attachments = std::move(attachments);
    return mail;
  }

  test::ListFixture fixture;
  test::ScratchDir scratch;
  testing::FakeMailStore store;
  bool reachable = true;
  int opened = 0;
  MailStoreOpener opener = [this](Application&) -> std::unique_ptr<MailStore> {
    ++opened;
    if (!reachable) throw MailStoreError("Outlook is not there");
    return std::make_unique<BorrowedStore>(store);
  };
  std::string mail_folder = "\\\\Mailbox\\Inbox";
  SaveOptions settings{"%3", "MSG", false, "50", "50"};
};

TEST_F(SaveRun, BlankBoxesAndAnEmptyListStopBeforeTheStoreIsOpened) {
  List("id1", "one");
  Save("", "");
  Save(mail_folder, "");
  EXPECT_EQ(fixture.Messages(), (Texts{"The 'Mail Folder' box is blank", "The 'Save to' box is blank"}));
  fixture.list.Start({});
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages().back(), "There are no emails in the list.");
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(fixture.app.FailureShown());
  // Blanks are a text like any other.
  List("id1", "one");
  Save(" ", scratch.Text());
  EXPECT_EQ(opened, 1);
}

// The format in any letter case picks the files and SaveAs types; messages
// are Unicode unless the store refuses them.
TEST_F(SaveRun, EachOutputFormatWritesItsFiles) {
  testing::FakeMail old_store;
  old_store.refuse_unicode_msg = true;
  const struct {
    const char* format;
    std::string subject;
    testing::FakeMail mail;
    Tree files;
    std::vector<int> types;
  } cases[] = {
      {"Txt", "Re: hello?", {}, {"Re  hello .txt"}, {0}},
      {"rTf", "", {}, {Dot() + ".rtf"}, {1}},
      {"MSG", "new", {}, {"new.msg"}, {9}},
      {"msg", "old", old_store, {"old.msg"}, {3}},
      {"DIR", "plain", {}, {"plain", "plain/message.html", "plain/message.txt"}, {0, 5}},
  };
  for (const auto& c : cases) {
    test::ScratchDir dir;
    fixture.list.Start({});
    store.saves.clear();
    List("id", c.subject, c.mail);
    settings.fn_output = c.format;
    Save(dir.Text());
    EXPECT_EQ(dir.Tree(), c.files) << c.format;
    std::vector<int> types;
    for (const auto& save : store.saves) types.push_back(save.type);
    EXPECT_EQ(types, c.types) << c.format;
  }
  EXPECT_TRUE(fixture.Messages().empty());
  EXPECT_FALSE(fixture.app.FailureShown());
}

TEST_F(SaveRun, TheSaveDirectoryGetsItsSeparatorOnce) {
  List("id1", "a");
  Save(scratch.Text());
  Save(scratch.Text() + PathSeparator());
  ASSERT_EQ(store.saves.size(), 2u);
  EXPECT_EQ(store.saves[0].path, scratch.File("a.msg"));
  EXPECT_EQ(store.saves[1].path, scratch.File("a.msg"));
}

TEST_F(SaveRun, AttachmentsAreAllKeptInsideTheItemDirectory) {
  const std::string cyrillic = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.pdf";
  List("id1", "x",
       With({"a.pdf", "A.pdf", cyrillic, "../../escape.txt", "..", ".", "", "CON", "nul.txt",
             "/etc/passwd", "C:\\Windows\\win.ini", "bell\x07\r\n.txt", "trailing. . "}));
  settings.fn_output = "dir";
  Save(scratch.Text());
  Tree expected = {"x", "x/message.html", "x/message.txt", "x/attachments"};
  for (const std::string& name : Texts{"a.pdf", "A (2).pdf", cyrillic, Dot() + ".. .. escape.txt", "__",
                                       "_", "_ (2)", "_CON", "_nul.txt", " etc passwd",
                                       "C  Windows win.ini", "bell.txt", "trailing"})
    expected.insert("x/attachments/" + name);
  EXPECT_EQ(scratch.Tree(), expected);
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, HostileItemNamesAreMadeSafe) {
  for (const std::string subject : {"..", "CON", "", "a/b\\c. "}) List("id" + subject, subject);
  settings.fn_output = "dir";
  Save(scratch.Text());
  Tree names;
  for (const auto& entry : scratch.Tree())
    if (entry.find('/') == std::string::npos) names.insert(entry);
  EXPECT_EQ(names, (Tree{"__", "_CON", "_", "a b c"}));
  test::ScratchDir files;
  settings.fn_output = "txt";
  Save(files.Text());
  EXPECT_EQ(files.Tree(), (Tree{Dot() + "...txt", "_CON.txt", Dot() + ".txt", "a b c. .txt"}));
}

TEST_F(SaveRun, ItemsOfOneNameAreNumberedAndASecondRunReplacesTheFirst) {
  List("id1", "Same");
  List("id2", "same");
  List("id3", "Same");
  Save(scratch.Text());
  const Tree once = {"Same.msg", "same (2).msg", "Same (3).msg"};
  EXPECT_EQ(scratch.Tree(), once);
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), once);
  settings.fn_output = "dir";
  Save(scratch.Text());
  EXPECT_TRUE(scratch.Tree().count("same (2)/message.txt"));
  EXPECT_TRUE(fixture.Messages().empty()) << "existing item directories are reused";
}

TEST_F(SaveRun, LongSubjectsGiveNamesWithinTheLimit) {
  List("id1", std::string(400, 's'));
  List("id2", std::string(400, 's'));
  settings.clip_subject = "400";
  Save(scratch.Text());
  const Tree tree = scratch.Tree();
  ASSERT_EQ(tree.size(), 2u);
  for (const auto& name : tree) EXPECT_LE(name.size(), 255u) << name;
}

TEST_F(SaveRun, SubfoldersRepeatTheMailFolderTreeInAMissingSaveDirectory) {
  List("id1", "top");
  List("id2", "deep", In("Projects\\2009"));
  List("id3", "hostile", In("..\\CON"));
  settings.fn_output = "txt";
  settings.use_fn_folder = true;
  Save(scratch.File("missing") + PathSeparator() + "deeper");
  Tree expected;
  for (const char* name : {"", "/top.txt", "/Projects", "/Projects/2009", "/Projects/2009/deep.txt",
                           "/__", "/__/_CON", "/__/_CON/hostile.txt"})
    expected.insert(std::string("missing/deeper") + name);
  expected.insert("missing");
  EXPECT_EQ(scratch.Tree(), expected);
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, ASaveDirectoryThatCannotBeMadeIsOneMessageNamingIt) {
  scratch.Write("file", "x");
  List("id1", "a");
  List("id2", "b");
  for (const std::string& dir : {scratch.File("file"), scratch.File("file/under")}) {
    Save(dir);
    ASSERT_FALSE(fixture.Messages().empty());
    EXPECT_TRUE(fixture.Messages().back().starts_with("The folder \"" + dir + "\" could not be created: "))
        << fixture.Messages().back();
  }
  EXPECT_EQ(fixture.Messages().size(), 2u);
  EXPECT_TRUE(fixture.app.FailureShown());
  EXPECT_TRUE(store.fetched.empty()) << "no item was tried";
  EXPECT_EQ(scratch.Tree(), Tree{"file"});
}

TEST_F(SaveRun, AnItemGoneFromTheStoreIsNotSavedAndTheRunGoesOn) {
  for (const char* id : {"id1", "id2", "id3", "id4", "id5"}) List(id, id);
  store.mails.erase("id3");
  store.mails["id4"].item_class = kReportItemClass;
  settings.fn_output = "txt";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), (Tree{"id1.txt", "id2.txt", "id5.txt"}));
  EXPECT_EQ(fixture.Messages(), Texts{"2 of 5 emails could not be saved."});
  EXPECT_TRUE(fixture.app.FailureShown());
}

TEST_F(SaveRun, FailuresThatStopEveryItemEndTheRunWithOneMessage) {
  List("id1", "a", In("Sub\\Deeper"));
  settings.clip_subject = "many";
  Save(scratch.Text());
  // The message comes while the progress window is still up.
  EXPECT_EQ(fixture.ProgressShownAtMessages(), std::vector<bool>{true});
  settings.clip_subject = "5";
  reachable = false;
  Save(scratch.Text());
  reachable = true;
  scratch.Write("Sub", "x");
  settings.use_fn_folder = true;  // a subfolder that cannot be made
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(), Texts(3, "Error saving email."));
  EXPECT_EQ(scratch.Tree(), Tree{"Sub"});
  for (Form* form : fixture.app.LoadedForms()) EXPECT_NE(form->Name(), "frmProgress");
}

TEST_F(SaveRun, AnUnknownFormatIsReportedForEveryItemAfterFetchingIt) {
  List("id1", "a");
  List("id2", "b");
  settings.fn_output = " MSG";
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(), (Texts{"Error in output format.", "Error in output format.",
                                       "2 of 2 emails could not be saved."}));
  EXPECT_EQ(store.fetched, (Texts{"id1", "id2"}));
  EXPECT_EQ(scratch.Tree(), Tree{});
}

TEST_F(SaveRun, TheProgressWindowCountsTheItemsAndCloses) {
  for (const char* id : {"id1", "id2", "id3"}) List(id, id);
  Texts seen;
  store.on_save = [&] {
    for (Form* form : fixture.app.LoadedForms())
      if (auto* progress = dynamic_cast<frmProgress*>(form))
        seen.push_back(progress->txtStatus.Caption() + "|" + std::to_string(progress->ProgressBar1.Value()) +
                       "/" + std::to_string(progress->ProgressBar1.Max()) + (progress->Shown() ? "" : " hidden"));
  };
  Save(scratch.Text());
  EXPECT_EQ(seen, (Texts{"Saving  1 of  3|1/3", "Saving  2 of  3|2/3", "Saving  3 of  3|3/3"}));
  for (Form* form : fixture.app.LoadedForms()) EXPECT_NE(form->Name(), "frmProgress");
}

}  // namespace
}  // namespace qs

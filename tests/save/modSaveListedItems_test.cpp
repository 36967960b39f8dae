#include "save/modSaveListedItems.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "list_fixture.h"
#include "platform/system.h"
#include "save/frmProgress.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using Tree = std::set<std::string>;

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
  EXPECT_EQ(fixture.Messages(), (std::vector<std::string>{"The 'Mail Folder' box is blank",
                                                          "The 'Save to' box is blank"}));
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

TEST_F(SaveRun, TheFormatIsChosenWithoutRegardToCase) {
  List("id1", "Re: hello?");
  settings.fn_output = "Txt";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), Tree{"Re  hello .txt"});
  ASSERT_EQ(store.saves.size(), 1u);
  EXPECT_EQ(store.saves[0].type, 0);
  EXPECT_TRUE(fixture.Messages().empty());
  EXPECT_FALSE(fixture.app.FailureShown());
}

TEST_F(SaveRun, MessagesAreUnicodeUnlessTheStoreRefuses) {
  List("id1", "new");
  testing::FakeMail old_store;
  old_store.refuse_unicode_msg = true;
  List("id2", "old", old_store);
  settings.fn_output = "MSG";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), (Tree{"new.msg", "old.msg"}));
  ASSERT_EQ(store.saves.size(), 2u);
  EXPECT_EQ(store.saves[0].type, 9);
  EXPECT_EQ(store.saves[1].type, 3);
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, RichTextAndAnEmptyName) {
  List("id1", "");
  settings.fn_output = "rTf";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), Tree{Dot() + ".rtf"});
  EXPECT_EQ(store.saves.at(0).type, 1);
}

TEST_F(SaveRun, TheSaveDirectoryGetsItsSeparatorOnce) {
  List("id1", "a");
  settings.fn_output = "txt";
  Save(scratch.Text());
  Save(scratch.Text() + PathSeparator());
  ASSERT_EQ(store.saves.size(), 2u);
  EXPECT_EQ(store.saves[0].path, scratch.File("a.txt"));
  EXPECT_EQ(store.saves[1].path, scratch.File("a.txt"));
  EXPECT_EQ(scratch.Tree(), Tree{"a.txt"});
}

TEST_F(SaveRun, DirectoryFormatWithoutAttachments) {
  List("id1", "plain");
  settings.fn_output = "DIR";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), (Tree{"plain", "plain/message.html", "plain/message.txt"}));
  EXPECT_EQ(store.saves.at(0).type, 0);
  EXPECT_EQ(store.saves.at(1).type, 5);
}

TEST_F(SaveRun, AttachmentsOfOneNameAreAllKept) {
  testing::FakeMail mail;
  mail.attachments = {"a.pdf", "A.pdf", "notes"};
  List("id1", "with", mail);
  settings.fn_output = "dir";
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(),
            (Tree{"with", "with/message.html", "with/message.txt", "with/attachments",
                  "with/attachments/a.pdf", "with/attachments/A (2).pdf",
                  "with/attachments/notes"}));
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, HostileAttachmentNamesStayInsideTheItemDirectory) {
  testing::FakeMail mail;
  mail.attachments = {"../../escape.txt", "..", ".", "", "CON", "nul.txt", "/etc/passwd",
                      "C:\\Windows\\win.ini", "bell\x07\r\n.txt", "trailing. . "};
  List("id1", "x", mail);
  settings.fn_output = "dir";
  Save(scratch.Text());
  const Tree expected = {"x", "x/message.html", "x/message.txt", "x/attachments",
                         "x/attachments/" + Dot() + ".. .. escape.txt", "x/attachments/__",
                         "x/attachments/_", "x/attachments/_ (2)", "x/attachments/_CON",
                         "x/attachments/_nul.txt", "x/attachments/ etc passwd",
                         "x/attachments/C  Windows win.ini", "x/attachments/bell.txt",
                         "x/attachments/trailing"};
  EXPECT_EQ(scratch.Tree(), expected);
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, HostileItemNamesAreMadeSafe) {
  List("id1", "..");
  List("id2", "CON");
  List("id3", "");
  List("id4", "a/b\\c. ");
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
  settings.fn_output = "msg";
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

TEST_F(SaveRun, NamesKeepCharactersBeyondTheCodePage) {
  const std::string subject = "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\xA7";
  testing::FakeMail mail;
  mail.attachments = {"\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.pdf"};
  List("id1", subject, mail);
  settings.fn_output = "dir";
  Save(scratch.Text());
  EXPECT_TRUE(scratch.Tree().count(subject + "/attachments/" + mail.attachments[0]));
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, LongSubjectsGiveNamesWithinTheLimit) {
  const std::string subject(400, 's');
  List("id1", subject);
  List("id2", subject);
  settings.fn_output = "msg";
  settings.clip_subject = "400";
  Save(scratch.Text());
  const Tree tree = scratch.Tree();
  ASSERT_EQ(tree.size(), 2u);
  for (const auto& name : tree) EXPECT_LE(name.size(), 255u) << name;
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, SubfoldersRepeatTheMailFolderTree) {
  testing::FakeMail top, deep, hostile;
  top.folder = "\\\\Mailbox\\Inbox";
  deep.folder = "\\\\Mailbox\\Inbox\\Projects\\2009";
  hostile.folder = "\\\\Mailbox\\Inbox\\..\\CON";
  List("id1", "top", top);
  List("id2", "deep", deep);
  List("id3", "hostile", hostile);
  settings.fn_output = "txt";
  settings.use_fn_folder = true;
  Save(scratch.Text());
  EXPECT_EQ(scratch.Tree(), (Tree{"top.txt", "Projects", "Projects/2009",
                                  "Projects/2009/deep.txt", "__", "__/_CON",
                                  "__/_CON/hostile.txt"}));
}

TEST_F(SaveRun, AMissingSaveDirectoryIsMadeWithItsParentsFirst) {
  testing::FakeMail top, sub;
  sub.folder = "\\\\Mailbox\\Inbox\\Sub";
  List("id1", "top", top);
  List("id2", "sub", sub);
  settings.fn_output = "txt";
  settings.use_fn_folder = true;
  Save(scratch.File("missing") + PathSeparator() + "deeper");
  EXPECT_EQ(scratch.Tree(), (Tree{"missing", "missing/deeper", "missing/deeper/Sub",
                                  "missing/deeper/Sub/sub.txt", "missing/deeper/top.txt"}));
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(SaveRun, ASaveDirectoryThatCannotBeMadeIsOneMessageNamingIt) {
  WriteWholeFile(scratch.File("file"), "x");
  List("id1", "a");
  List("id2", "b");
  for (const std::string& dir : {scratch.File("file"), scratch.File("file/under")}) {
    Save(dir);
    ASSERT_FALSE(fixture.Messages().empty());
    EXPECT_TRUE(fixture.Messages().back().starts_with("The folder \"" + dir +
                                                      "\" could not be created: "))
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
  EXPECT_EQ(fixture.Messages(), std::vector<std::string>{"2 of 5 emails could not be saved."});
  EXPECT_TRUE(fixture.app.FailureShown());
}

TEST_F(SaveRun, FailuresThatStopEveryItemEndTheRunWithOneMessage) {
  List("id1", "a");
  settings.clip_subject = "many";
  Save(scratch.Text());
  // The message comes while the progress window is still up.
  EXPECT_EQ(fixture.ProgressShownAtMessages(), std::vector<bool>{true});

  settings.clip_subject = "5";
  reachable = false;
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(),
            (std::vector<std::string>{"Error saving email.", "Error saving email."}));
  EXPECT_EQ(scratch.Tree(), Tree{});
  for (Form* form : fixture.app.LoadedForms()) EXPECT_NE(form->Name(), "frmProgress");
}

TEST_F(SaveRun, ASubfolderThatCannotBeMadeStopsTheRun) {
  WriteWholeFile(scratch.File("Sub"), "x");
  testing::FakeMail sub;
  sub.folder = "\\\\Mailbox\\Inbox\\Sub\\Deeper";
  List("id1", "a", sub);
  settings.use_fn_folder = true;
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(), std::vector<std::string>{"Error saving email."});
}

TEST_F(SaveRun, AnUnknownFormatIsReportedForEveryItemAfterFetchingIt) {
  List("id1", "a");
  List("id2", "b");
  settings.fn_output = " MSG";
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(),
            (std::vector<std::string>{"Error in output format.", "Error in output format.",
                                      "2 of 2 emails could not be saved."}));
  EXPECT_EQ(store.fetched, (std::vector<std::string>{"id1", "id2"}));
  EXPECT_EQ(scratch.Tree(), Tree{});
  EXPECT_TRUE(fixture.app.FailureShown());
}

TEST_F(SaveRun, TheProgressWindowCountsTheItems) {
  for (const char* id : {"id1", "id2", "id3"}) List(id, id);
  settings.fn_output = "txt";
  std::vector<std::string> seen;
  store.on_save = [&] {
    for (Form* form : fixture.app.LoadedForms())
      if (auto* progress = dynamic_cast<frmProgress*>(form)) {
        seen.push_back(progress->Caption() + "|" + progress->txtStatus.Caption() + "|" +
                       std::to_string(progress->ProgressBar1.Value()) + "/" +
                       std::to_string(progress->ProgressBar1.Max()) +
                       (progress->Shown() ? "" : " hidden"));
      }
  };
  Save(scratch.Text());
  EXPECT_EQ(seen, (std::vector<std::string>{"Saving ...|Saving  1 of  3|1/3",
                                            "Saving ...|Saving  2 of  3|2/3",
                                            "Saving ...|Saving  3 of  3|3/3"}));
  for (Form* form : fixture.app.LoadedForms()) EXPECT_NE(form->Name(), "frmProgress");
}

}  // namespace
}  // namespace qs

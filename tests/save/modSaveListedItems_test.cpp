#include "save/modSaveListedItems.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "save/frmProgress.h"
#include "save_run_fixture.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"
#include "tests/common/temp_tree.h"

namespace qs {
namespace {

using Tree = std::set<std::string>;
using Texts = std::vector<std::string>;

// The files saved into the directory, without the run's record and lock.
Tree SavedTree(const test::ScratchDir& dir) {
  Tree tree = dir.Tree();
  std::erase_if(tree, [](const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name == ".quillstow-saved" || name == ".quillstow-lock";
  });
  return tree;
}

// What a name that would begin with a dot gets in front: "_" where such a
// name is hidden, nothing on Windows.
std::string Dot() { return LeadingDotHides() ? "_" : ""; }

using SaveRun = test::SaveRunFixture;

// Blank boxes and an empty list stop before the store is opened; a save
// directory that cannot be made is one message naming it, before any item.
TEST_F(SaveRun, NothingIsTriedWithoutWhatTheSaveNeeds) {
  reachable = false;  // opening the store would be one more message
  Save(scratch.Text());
  List("id1", "one");
  Save("", "");
  Save("");
  reachable = true;
  const std::string under = scratch.Unwritable("under");
  for (const std::string& dir : {scratch.File("plain"), under}) Save(dir);
  const Texts messages = fixture.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[0] + "|" + messages[1] + "|" + messages[2], "There are no emails in the list.|"
            "The 'Mail Folder' box is blank|The 'Save to' box is blank");
  EXPECT_TRUE(messages[3].starts_with("The folder \"" + scratch.File("plain") +
                                      "\" could not be created: "))
      << messages[3];
  EXPECT_TRUE(messages[4].starts_with("The folder \"" + under + "\" could not be created: ")) << messages[4];
  EXPECT_TRUE(log.fetched.empty());
  EXPECT_EQ(SavedTree(scratch), Tree{"plain"});
}

// The format in any letter case picks the files and SaveAs types; messages
// are Unicode unless the store refuses them.
TEST_F(SaveRun, EachOutputFormatWritesItsFiles) {
  const std::tuple<const char*, const char*, bool, std::string> cases[] = {
      // the files, then the SaveAs types
      {"Txt", "Re: hello?", false, "Re  hello .txt |0 "},
      {"rTf", "", false, Dot() + ".rtf |1 "},
      {"MSG", "new", false, "new.msg |9 "},
      {"msg", "old", true, "old.msg |3 "},
      {"DIR", "plain", false, "plain plain/message.html plain/message.txt |0 5 "}};
  for (const auto& [format, subject, refuse_unicode_msg, written] : cases) {
    test::ScratchDir dir;
    fixture.list.Start({});
    log.saves.clear();
    List("id", subject);
    store.mails["id"].refuse_unicode_msg = refuse_unicode_msg;
    settings.fn_output = format;
    Save(dir.Text() + PathSeparator());
    std::string got;
    for (const auto& name : SavedTree(dir)) got += name + " ";
    got += "|";
    for (const auto& [path, type] : log.saves) got += std::to_string(type) + " ";
    EXPECT_EQ(got, written) << format;
    EXPECT_EQ(log.saves[0].first.find(std::string(2, PathSeparator())), std::string::npos)
        << log.saves[0].first;
  }
  EXPECT_TRUE(fixture.Messages().empty());
}

// Items, attachments and subfolders of hostile names stay inside the save
// directory, and none of one name is lost, in one run or the next.
TEST_F(SaveRun, EveryItemAndAttachmentGetsItsOwnSafeNameInside) {
  List("id1", "..", {.attachments = {"a.pdf", "A.pdf", "../../escape.txt", ".."}});
  List("id2", "Same");
  List("id3", "same", {.folder = "\\\\Mailbox\\Inbox\\..\\CON"});
  List("id4", "Same");
  settings.fn_output = "dir";
  settings.use_fn_folder = true;
  const std::string dir = scratch.File("missing") + PathSeparator() + "deeper";
  Tree expected = {"missing", "missing/deeper"};
  const std::string a = "__/attachments";
  for (const std::string& name : Texts{"__/_CON", a, a + "/a.pdf", a + "/A (2).pdf",
                                       a + "/" + Dot() + ".. .. escape.txt", a + "/__"})
    expected.insert("missing/deeper/" + name);
  for (const std::string& item : Texts{"__", "__/_CON/same", "Same", "Same (2)"})
    for (const char* name : {"", "/message.html", "/message.txt"})
      expected.insert("missing/deeper/" + item + name);
  Save(dir);
  EXPECT_EQ(SavedTree(scratch), expected);
  Save(dir);
  EXPECT_EQ(SavedTree(scratch), expected) << "a second run replaces the first";
  EXPECT_TRUE(fixture.Messages().empty());
  test::ScratchDir files;
  settings.fn_output = "txt";
  settings.use_fn_folder = false;
  Save(files.Text());
  EXPECT_EQ(SavedTree(files), (Tree{Dot() + "...txt", "Same.txt", "same (2).txt", "Same (3).txt"}));
  // The subfolder is cut from the item's folder by the length of the box's
  // text alone, in UTF-16 units: a longer text eats into the levels below.
  test::ScratchDir cut;
  settings.use_fn_folder = true;
  Save(cut.Text(), "\\\\Mailb\xC3\xB6x\\Inbox12");
  EXPECT_TRUE(SavedTree(cut).count("_/_CON/same.txt"));
}

// Items gone from the store, or no mail, are counted; the progress window
// counts every row.
TEST_F(SaveRun, ItemsThatCannotBeSavedAreCountedAndTheRunGoesOn) {
  for (const char* id : {"id1", "id2", "id3", "id4", "id5"}) List(id, id);
  store.mails.erase("id3");
  store.mails["id4"].item_class = kReportItemClass;
  settings.fn_output = "txt";
  Texts seen;
  log.on_save = [&] {
    for (Form* form : fixture.app.LoadedForms())
      if (auto* progress = dynamic_cast<frmProgress*>(form))
        seen.push_back(progress->txtStatus.Caption() + "|" +
                       std::to_string(progress->ProgressBar1.Value()) + "/" +
                       std::to_string(progress->ProgressBar1.Max()) +
                       (progress->Shown() ? "" : " hidden"));
  };
  fixture.list.PassedOver("passed over: 1 meeting request");
  Save(scratch.Text());
  EXPECT_EQ(SavedTree(scratch), (Tree{"id1.txt", "id2.txt", "id5.txt"}));
  EXPECT_EQ(seen, (Texts{"Saving  1 of  5|1/5", "Saving  2 of  5|2/5", "Saving  5 of  5|5/5"}));
  // The record keeps what was passed over and why rows were not saved.
  const std::string record = testing::ReadFile(scratch.Path() / ".quillstow-saved");
  const std::size_t second = record.find('\n') + 1;
  const std::string notes = record.substr(second, record.find('\n', second) - second);
  EXPECT_EQ(notes.rfind("\tnotes\tpassed over: 1 meeting request\t", 0), 0u) << record;
  EXPECT_EQ(std::count(notes.begin(), notes.end(), '\t'), 4) << "a reason for each row not saved: " << notes;
  log.on_save = nullptr;
  fixture.list.Start({});
  List("id1", "a");
  List("id2", "b");
  settings.fn_output = " MSG";
  Save(scratch.Text());
  // A format the store does not write (Outlook writes no MIME message files)
  // is as unknown.
  settings.fn_output = "Eml";
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(), (Texts{"2 of 5 emails could not be saved.", "Error in output format.",
                                       "Error in output format.", "2 of 2 emails could not be saved.",
                                       "Error in output format.", "Error in output format.",
                                       "2 of 2 emails could not be saved."}));
  EXPECT_EQ(log.fetched.size(), 9u) << "an unknown format is found out after fetching";
  EXPECT_TRUE(fixture.app.FailureShown());
}

// Closing the progress window (as its Cancel does) stops the run after the
// item at hand, the rest not reached: a failure.
TEST_F(SaveRun, ClosingTheProgressWindowStopsAfterTheItemAtHand) {
  for (const char* id : {"id1", "id2", "id3", "id4", "id5"}) List(id, id);
  log.on_save = [this] {
    for (Form* form : fixture.app.LoadedForms())
      if (form->Name() == "frmProgress" && log.saves.size() == 1) { EXPECT_FALSE(form->Unload()) << "it stays up"; }
  };
  Save(scratch.Text());
  EXPECT_NE(fixture.err.str().find("Stopped after 2 of 5.\n5 listed: 2 saved, 0 unchanged, 0 not saved, 3 not reached\n"),
            std::string::npos)
      << fixture.err.str();
  EXPECT_TRUE(fixture.Messages().empty() && fixture.app.FailureShown());
}

TEST_F(SaveRun, FailuresThatStopEveryItemEndTheRunWithOneMessage) {
  List("id1", "a", {.folder = "\\\\Mailbox\\Inbox\\Sub\\Deeper"});
  settings.clip_subject = "many";
  Save(scratch.Text());
  // The message comes while the progress window still shows the item.
  EXPECT_EQ(fixture.windows.progress_shown, Texts{"Saving  1 of  1"});
  settings.clip_subject = "5";
  reachable = false;
  Save(scratch.Text());
  reachable = true;
  scratch.Write("Sub", "x");
  settings.use_fn_folder = true;  // a subfolder that cannot be made
  Save(scratch.Text());
  EXPECT_EQ(fixture.Messages(), Texts(3, "Error saving email."));
  EXPECT_EQ(SavedTree(scratch), Tree{"Sub"});
  for (Form* form : fixture.app.LoadedForms()) EXPECT_NE(form->Name(), "frmProgress");
}

// On several threads rows are fetched ahead of the one being named; a row
// whose folder cannot be made still ends the run with the rows before it
// written and none after it.
TEST_F(SaveRun, OnSeveralThreadsAStopWritesExactlyTheRowsBeforeIt) {
  const testing::ScopedEnvironment threads("QUILLSTOW_THREADS", "3");
  store.parallel = true;
  settings = {"%3", "txt", true, "50", "50"};
  scratch.Write("Blocked", "x");
  Tree before{"Blocked"};
  for (int row = 1; row <= 100; ++row) {
    const std::string id = "id" + std::to_string(100 + row);
    List(id, id, {.folder = row == 70 ? "\\\\Mailbox\\Inbox\\Blocked\\Deeper" : "\\\\Mailbox\\Inbox"});
    if (row < 70) before.insert(id + ".txt");
  }
  Save(scratch.Text());
  EXPECT_EQ(SavedTree(scratch), before);
  EXPECT_EQ(fixture.Messages(), Texts{"Error saving email."});
}

}  // namespace
}  // namespace qs

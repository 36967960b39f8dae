#include "save/save_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "list_fixture.h"
#include "save/modSaveListedItems.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

TEST(SaveRecord, TextReadsBackAndDamageIsRefused) {
  const SavedMail odd{.identity = "id\t1\\x",
                      .folder = "//S/In\nbox",
                      .shape = {.format = "dir", .name_format = "%3", .subfolders = true, .mail_folder = "\\S"},
                      .writer = 2,
                      .mail_modified = -5,
                      .mail_size = 70,
                      .whole = false,
                      .name = "In\rbox/x",
                      .files = {{"In\rbox/x/message.txt", {3, 1234567890123}}, {"a", {0, 0}}}};
  SaveRecord record;
  record.Put(odd);
  record.Put({.identity = "id2", .name = "B.txt"});
  const RunNotes notes{.passed_over = "passed over: 1 report", .reasons = {"x.txt: no\tspace", "and 3 more"}};
  record.SetNotes(notes);
  const SaveRecord again = SaveRecord::Parse(record.Text());
  EXPECT_EQ(again.Notes(), notes);
  ASSERT_EQ(again.Size(), 2u);
  const std::optional<SavedMail> read = again.Find(odd.identity, odd.folder, ShapeKey(odd.shape));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, odd);
  ASSERT_NE(again.OwnerOf("b.TXT"), nullptr) << "names compare as the file system compares them";
  EXPECT_EQ(*again.OwnerOf("b.TXT"), "id2");
  // Written over the record it came from, a mail put anew takes its line's place.
  SaveRecord newer;
  SavedMail whole = odd;
  whole.whole = true;
  newer.Put(whole);
  std::string over;
  newer.WriteOver(again, [&over](std::string_view piece) { over.append(piece); });
  EXPECT_EQ(std::count(over.begin(), over.end(), '\n'), 3) << over;
  EXPECT_TRUE(SaveRecord::Parse(over).Find(odd.identity, odd.folder, ShapeKey(odd.shape))->whole);
  // A record of the version before notes reads as it did.
  record.SetNotes({});
  const std::string text = record.Text();
  const std::string line = text.substr(text.find('\n') + 1);
  EXPECT_EQ(SaveRecord::Parse("quillstow save record\t1\n" + line).Size(), 2u);
  for (const std::string& damaged : std::vector<std::string>{std::string(), "quillstow save record\t3\n", text.substr(0, text.size() - 1),
        "quillstow save record\t2\n\tnote\t\n" + line, "quillstow save record\t2\n\tnotes\t\\q\n" + line,
        text + "x\t\n", text.substr(0, text.find('\n') + 1) + std::string(line).replace(line.find("\t2\t"), 3, "\tz\t"),
        text + line.substr(0, line.rfind('\t', line.rfind('\t') - 1)) + "\n",
        text + "a\\qb" + line.substr(line.find('\t'))})
    EXPECT_THROW(SaveRecord::Parse(damaged), UnreadableRecord) << damaged;
}

// One mail of the cases below: what the store lists and gives.
struct Mail {
  const char* id;
  const char* subject = "Weekly report";
  const char* body = "";
  int modified = 1;
};

// One run into the save directory, after an optional change by hand.
struct Step {
  std::vector<Mail> listed;
  std::string summary;  // "N listed: ..."
  std::string files;    // each saved file and whose it is: "name=id body", in name order
  std::string format = "txt";
  std::function<void(const test::ScratchDir&, testing::FakeMailStore&)> before = nullptr;
};

using CrossRunCase = std::pair<const char*, std::vector<Step>>;

const Mail kMarch{"march", "Weekly report", " March"};
const Mail kApril{"april", "Weekly report", " April"};

// Every file below the directory but the run's own and what they hold.
std::string SavedFiles(const test::ScratchDir& dir) {
  std::string files;
  for (const std::string& name : dir.Tree()) {
    if (name.starts_with(".quillstow-") || std::filesystem::is_directory(dir.Path() / name)) continue;
    std::string content = dir.Read(name);
    if (const auto space = content.find(' '); space != std::string::npos)
      content.erase(space, content.find_first_not_of("0123456789", space + 1) - space);
    files += (files.empty() ? "" : "|") + name + "=" + content;
  }
  return files;
}

// A mail keeps its file and its name whatever else comes and goes; no file
// of one mail ever holds another; what did not change is not written.
TEST(SaveRecord, EveryMailKeepsItsFileAcrossRuns) {
  const CrossRunCase cases[] = {
      {"the window moves on",
       {{{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved", "Weekly report.txt=march March"},
        {{kApril}, "1 listed: 1 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March"}}},
      {"a new mail sorts ahead of a saved one",
       {{{kApril}, "1 listed: 1 saved, 0 unchanged, 0 not saved", "Weekly report.txt=april April"},
        {{kMarch, kApril}, "2 listed: 1 saved, 1 unchanged, 0 not saved",
         "Weekly report (2).txt=march March|Weekly report.txt=april April"}}},
      {"a changed mail, a file deleted and a file edited are written again under their names",
       {{{kMarch, kApril}, "2 listed: 2 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March"},
        {{{"march", "Weekly report", " March, corrected", 2}, kApril}, "2 listed: 1 saved, 1 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March, corrected"},
        {{kMarch, kApril}, "2 listed: 2 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March",
         "txt", [](const test::ScratchDir& dir, testing::FakeMailStore&) {
           std::filesystem::remove(dir.Path() / "Weekly report.txt");
           dir.Write("Weekly report (2).txt", "april 0 by hand");
         }}}},
      {"a file no record holds is kept when it holds the same bytes, else left alone",
       {{{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved", "Weekly report.txt=march March"},
        {{kMarch, kApril}, "2 listed: 0 saved, 2 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March", "txt",
         [](const test::ScratchDir& dir, testing::FakeMailStore&) {
           std::filesystem::remove(dir.Path() / ".quillstow-saved");
           dir.Write("Weekly report (2).txt", "april 0 April");
         }},
        {{kMarch, kApril}, "2 listed: 0 saved, 2 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March"}}},
      {"a user's own file at the name stays",
       {{{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=march March|Weekly report.txt=mine", "txt",
         [](const test::ScratchDir& dir, testing::FakeMailStore&) { dir.Write("Weekly report.txt", "mine"); }}}},
      {"other options save anew beside the old files, which stay known",
       {{{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved", "Weekly report.txt=march March"},
        {{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved",
         "Weekly report.rtf=march March|Weekly report.txt=march March", "rtf"},
        {{kMarch, kApril}, "2 listed: 1 saved, 1 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.rtf=march March|Weekly report.txt=march March"}}},
      {"a newer writer writes unchanged mail again under the same names",
       {{{kMarch, kApril}, "2 listed: 2 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March"},
        {{kApril, kMarch}, "2 listed: 2 saved, 0 unchanged, 0 not saved",
         "Weekly report (2).txt=april April|Weekly report.txt=march March", "txt",
         [](const test::ScratchDir&, testing::FakeMailStore& store) { store.writer = 2; }}}},
      {"a record that cannot be read is set aside and the files are taken back",
       {{{kMarch}, "1 listed: 1 saved, 0 unchanged, 0 not saved", "Weekly report.txt=march March"},
        {{kMarch}, "1 listed: 0 saved, 1 unchanged, 0 not saved", "Weekly report.txt=march March", "txt",
         [](const test::ScratchDir& dir, testing::FakeMailStore&) { dir.Write(".quillstow-saved", "garbage"); }}}},
      {"the directory form keeps its item directories",
       {{{kMarch, kApril}, "2 listed: 2 saved, 0 unchanged, 0 not saved",
         "Weekly report (2)/message.html=april April|Weekly report (2)/message.txt=april April|"
         "Weekly report/message.html=march March|Weekly report/message.txt=march March", "dir"},
        {{kApril}, "1 listed: 0 saved, 1 unchanged, 0 not saved",
         "Weekly report (2)/message.html=april April|Weekly report (2)/message.txt=april April|"
         "Weekly report/message.html=march March|Weekly report/message.txt=march March", "dir"}}},
  };
  for (const auto& [what, steps] : cases) {
    test::ScratchDir dir;
    testing::FakeMailStore store;
    const MailStoreOpener opener = [&store](Reporter&) -> std::unique_ptr<MailStore> {
      return std::make_unique<testing::FakeMailStore>(store);
    };
    for (const Step& step : steps) {
      if (step.before) step.before(dir, store);
      test::ListFixture fixture;
      fixture.app.SetDebugLevel(1);
      for (const Mail& mail : step.listed) {
        test::Row row;
        row.entry_id = EntryId(mail.id);
        row.subject = mail.subject;
        fixture.list.Add(row);
        store.mails[mail.id] = {.subject = mail.subject,
                                .modified = DateTime(std::chrono::seconds(mail.modified)),
                                .size = 100,
                                .body = mail.body};
      }
      const std::size_t saves_before = store.log->saves.size();
      SaveListedItems(fixture.app, opener, "\\\\Mailbox\\Inbox", fixture.list, dir.Text(),
                      {.fn_format = "%3", .fn_output = step.format, .clip_address = "50", .clip_subject = "50"});
      const std::string said = "\n" + fixture.err.str();
      const std::string context = std::string(what) + ", run " + std::to_string(&step - steps.data() + 1);
      EXPECT_NE(said.find("\n" + step.summary + "\n"), std::string::npos) << context << ": " << said;
      EXPECT_EQ(SavedFiles(dir), step.files) << context;
      if (step.summary.find(" 0 saved,") != std::string::npos && !step.before) {
        EXPECT_EQ(store.log->saves.size(), saves_before) << context << ": nothing is written again";
      }
    }
  }
}

}  // namespace
}  // namespace qs

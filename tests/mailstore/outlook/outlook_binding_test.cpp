// The Outlook binding: its dates, then against the fake Outlook the COM
// helpers, its operations and the program's commands, in process and in Wine's
// COM surrogate, where every value, object and error crosses a process
// boundary. After each test no object of Outlook's may still be held.

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "fake_outlook_registration.h"
#include "mailstore/folder_path.h"
#include "mailstore/message/save_message.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/outlook/ole_date.h"
#include "mailstore/search.h"
#include "platform/win32/com_dispatch.h"
#include "platform/win32/com_error.h"
#include "platform/win32/com_init.h"
#include "save/modSaveListedItems.h"
#include "save/save_record.h"
#include "tests/common/message_fixtures.h"
#include "tests/common/scratch_dir.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeOutlook;

// An identifier as Outlook gives it.
EntryId Id(const char* hex) { return *EntryId::FromHex(hex); }

// The system's conversion is the witness, from 1800 across the days before
// 1899-12-30 (whose fraction counts forward) to past Outlook's "no date" in
// 4501; a prime step in seconds visits every time of day and every month.
TEST(OleDateTest, AgreesWithTheSystemRoundsToTheSecondAndRefusesNonsense) {
  const DateTime end = NoDate() + std::chrono::days{1};
  for (DateTime time = MakeDateTime(1800, 6, 1, 23, 59, 59); time <= end;
       time += std::chrono::seconds{86400 * 97 + 3607}) {
    const CivilTime c = ToCivil(time);
    SYSTEMTIME system{static_cast<WORD>(c.year),   static_cast<WORD>(c.month),
                      0,                           static_cast<WORD>(c.day),
                      static_cast<WORD>(c.hour),   static_cast<WORD>(c.minute),
                      static_cast<WORD>(c.second), 0};
    double expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&system, &expected));
    EXPECT_NEAR(ToOleDate(time), expected, 1e-9) << expected;
    EXPECT_EQ(FromOleDate(ToOleDate(time)), time) << expected;
  }
  // Outlook's dates carry noise below the second; it must not cost a second,
  // and just before midnight rounds into the next day on either side of 1899.
  EXPECT_EQ(FromOleDate(40152.5 - 0.4 / 86400), MakeDateTime(2009, 12, 5, 12));
  EXPECT_EQ(FromOleDate(40152.5 + 0.6 / 86400), MakeDateTime(2009, 12, 5, 12, 0, 1));
  EXPECT_EQ(FromOleDate(40152.0 + 86399.7 / 86400), MakeDateTime(2009, 12, 6));
  EXPECT_EQ(FromOleDate(-2.0 - 86399.7 / 86400), MakeDateTime(1899, 12, 29));
  for (const double nonsense : {std::nan(""), 3e6, -7e5, HUGE_VAL})
    EXPECT_THROW(FromOleDate(nonsense), MailStoreError) << nonsense;
}

const SearchOptions kAll{"", "", "yyyy-mm-dd hh:nn:ss"};

class OutlookTest : public ::testing::Test {
 protected:
  void TearDown() override {
    store_.reset();
    EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held";
  }
  MailStore& Store() {
    if (!store_) store_ = OpenMailStore(window_.app);
    return *store_;
  }
  std::unique_ptr<Folder> Mailbox() { return Store().TopFolder("Postfach Zoë"); }
  void Search(const std::string& path) {
    SearchMailFolder(window_.app, OpenMailStore, path, window_.list, kAll);
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (std::int32_t row = 1; row <= window_.list.RowCount(); ++row)
      texts.emplace_back(window_.list.Text(row, column));
    return texts;
  }

  win32::ComApartment apartment_ = win32::InitializeCom();
  FakeOutlook outlook_;
  testing::WindowHarness window_;
  std::unique_ptr<MailStore> store_;
  test::ScratchDir dir_;
};

// Each failure names the operation and keeps the server's words: the COM
// helpers' also its code, the binding's as MailStoreError (code 0 here).
TEST_F(OutlookTest, FailuresNameTheOperationAndKeepTheServersWords) {
  const win32::Dispatch stores = win32::Dispatch::Create("Outlook.Application")
                                     .GetObject("GetNamespace", "MAPI")
                                     .GetObject("Folders");
  const auto mail = Store().GetItemFromID(Id("00000000A1000003"));
  const auto damaged = Mailbox()->Subfolder("Broken")->ItemAt(2);
  const struct {
    std::function<void()> call;
    HRESULT code;
    const char* words;
  } cases[] = {
      {[&] { stores.Get("Bogus"); }, DISP_E_UNKNOWNNAME, "Folders.Bogus"},
      {[&] { stores.Get("Item", "No such store"); }, static_cast<HRESULT>(0x8004010F),
       "Folders.Item: The attempted operation failed.  An object could not be found. "
       "(0x8004010F)"},
      {[&] { stores.GetObject("Item", 1).Put("FolderPath", win32::Variant("renamed")); },
       DISP_E_MEMBERNOTFOUND, "Item.FolderPath"},
      {[&] { win32::Variant("not a number").ToInt32("text"); }, DISP_E_TYPEMISMATCH, "text"},
      // A date is never read from text: that would follow the locale's rules.
      {[&] { win32::Variant("2009-12-05").ToDate("text"); }, DISP_E_TYPEMISMATCH, "text"},
      {[&] { Mailbox()->Subfolder("Inbox")->ItemAt(4); }, 0, "Items.Item"},
      {[&] { Store().GetItemFromID(Id("00000000FFFFFFFF")); }, 0, "NameSpace.GetItemFromID"},
      {[&] { damaged->Subject(); }, 0, "MailItem.Subject: Outlook cannot read this item."},
      {[&] { mail->SaveAs(dir_.File("nowhere\\m.msg"), SaveType::Message); }, 0,
       "MailItem.SaveAs"},
      {[&] { mail->AttachmentAt(1)->SaveAsFile(dir_.File("nowhere\\x")); }, 0,
       "Attachment.SaveAsFile"},
  };
  for (const auto& test : cases) {
    std::string failure = "no failure";
    HRESULT code = 0;
    try {
      test.call();
    } catch (const win32::ComError& error) {
      failure = error.what();
      code = error.Code();
    } catch (const MailStoreError& error) {
      failure = error.what();
    }
    EXPECT_EQ(code, test.code) << test.words;
    EXPECT_NE(failure.find(test.words), std::string::npos) << test.words << " not in: " << failure;
  }
  EXPECT_EQ(win32::Variant("Zoë ☃ 😀").Copy().ToUtf8("text"), "Zoë ☃ 😀");
}

TEST_F(OutlookTest, AsksOutlookForEachPropertyOnceAndReadsItsNoDate) {
  const auto item = Store().GetItemFromID(Id("00000000A1000001"));
  const auto read_all = [&] {
    return std::make_tuple(item->Class(), item->SentOn(), item->ReceivedTime(),
                           item->CreationTime(), item->Sent(), item->SenderEmailAddress(),
                           item->To(), item->Subject(), item->EntryID(), item->AttachmentCount(),
                           item->LastModificationTime(), item->Size());
  };
  EXPECT_EQ(std::get<10>(read_all()), MakeDateTime(2009, 6, 3, 10, 11, 12));
  EXPECT_EQ(std::get<11>(read_all()), 48213);
  read_all();
  const long calls = outlook_.Calls();
  read_all();
  EXPECT_EQ(outlook_.Calls(), calls) << "a property was asked of Outlook twice";
  const auto draft = Mailbox()->Subfolder("Drafts")->ItemAt(1);
  EXPECT_FALSE(draft->Sent());
  EXPECT_EQ(draft->SentOn(), NoDate());
  EXPECT_EQ(draft->ReceivedTime(), NoDate());
  EXPECT_EQ(draft->CreationTime(), MakeDateTime(2010, 1, 2, 3, 4, 5));
  // A report is read by its own member names, not those a mail item looked up.
  const auto report = Store().GetItemFromID(Id("00000000A1000002"));
  EXPECT_EQ(report->Class(), kReportItemClass);
  EXPECT_EQ(report->Subject(), "Undeliverable: hello");
}

TEST_F(OutlookTest, AttachmentsAreCountedNamedAndSaved) {
  const auto item = Store().GetItemFromID(Id("00000000A1000003"));
  ASSERT_EQ(item->AttachmentCount(), 2);
  const auto second = item->AttachmentAt(2);
  EXPECT_EQ(second->FileName(), "notes ü.txt");
  second->SaveAsFile(dir_.File(second->FileName()));
  EXPECT_NE(dir_.Read("notes ü.txt").find("file=notes ü.txt"), std::string::npos);
}

TEST(OutlookMissingTest, NotRegisteredIsAMailStoreError) {
  FakeOutlook::Unregister();
  testing::WindowHarness window;
  EXPECT_THROW(OpenMailStore(window.app), MailStoreError);
}

TEST_F(OutlookTest, SearchFillsTheListDepthFirstWithMailOnly) {
  Search("\\\\Postfach Zoë\\Inbox");
  EXPECT_TRUE(window_.Messages().empty());
  EXPECT_EQ(Column(2), (std::vector<std::string>{"Quarterly figures", "Re: hello?",
                                                 "Grüße aus Köln", "Plan"}));
  std::vector<std::string> row;
  for (int column = 0; column <= 7; ++column) row.emplace_back(window_.list.Text(2, column));
  EXPECT_EQ(row, (std::vector<std::string>{"2009-12-05 07:03:09", "bob@example.com", "Re: hello?",
                                           "Tester; Zoë Ünal", "2009-12-05 07:04:00",
                                           "00000000A1000003", "\\\\Postfach Zoë\\Inbox",
                                           "2009-12-05 07:04:00"}));
  EXPECT_EQ(window_.list.Text(4, 6), "\\\\Postfach Zoë\\Inbox\\Projekte Ü\\2009 — Q4");
}

TEST_F(OutlookTest, AnUnreadableItemKeepsTheRowsFoundBeforeIt) {
  Search("\\\\Postfach Zoë\\Broken");
  EXPECT_EQ(Column(2), std::vector<std::string>{"Readable"});
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{kSearchFailure});
}

TEST_F(OutlookTest, PickingAFolderGivesItsPathAndCancellingNone) {
  EXPECT_EQ(GetMailFolder(window_.app, OpenMailStore), std::nullopt);  // cancelled
  outlook_.Switch(L"pick", L"\\\\Postfach Zoë\\Inbox\\Projekte Ü");
  EXPECT_EQ(GetMailFolder(window_.app, OpenMailStore), "\\\\Postfach Zoë\\Inbox\\Projekte Ü");
}

// Each call into Outlook is a round trip to another process in real use.
TEST_F(OutlookTest, CallsIntoOutlookPerListedItem) {
  constexpr int kItems = 2000;
  outlook_.Switch(L"bulk", std::to_wstring(kItems).c_str());
  Search("\\\\Postfach Zoë\\Bulk");
  const std::int32_t listed = window_.list.RowCount();
  ASSERT_EQ(listed, kItems - kItems / 10);
  EXPECT_LE(outlook_.Calls(), 10 * listed) << outlook_.Calls() << " calls for " << listed;
  EXPECT_LE(outlook_.Lookups(), 40) << "names are looked up per item";
}

// Per saved message: GetItemFromID, Class, LastModificationTime, Size and
// SaveAs; the entry identifier it was fetched by is not asked again. A MIME
// message file costs no more: it is made of the message file that one
// SaveAs writes. Saved again unchanged, it is not written: no SaveAs. Names
// are looked up once per run, and the run asks for the namespace once.
TEST_F(OutlookTest, CallsIntoOutlookPerSavedItem) {
  constexpr int kItems = 200;
  outlook_.Switch(L"bulk", std::to_wstring(kItems).c_str());
  Search("\\\\Postfach Zoë\\Bulk");
  const long saved = window_.list.RowCount();
  ASSERT_EQ(saved, kItems - kItems / 10);
  for (const char* format : {"MSG", "EML"}) {
    for (const long per_item : {5, 4}) {
      const long calls = outlook_.Calls(), lookups = outlook_.Lookups();
      SaveListedItems(window_.app, OpenMailStore, "\\\\Postfach Zoë\\Bulk", window_.list,
                      dir_.Text() + "\\", {"%1 %2 %3", format, false, "50", "50"});
      ASSERT_EQ(window_.Messages(), std::vector<std::string>{}) << format;
      const long looked_up = outlook_.Lookups() - lookups;
      const long invoked = outlook_.Calls() - calls - looked_up;
      EXPECT_LE(invoked, per_item * saved + 1) << invoked << " calls for " << saved << " " << format;
      EXPECT_LE(looked_up, 6) << "names are looked up per item";
    }
  }
  const std::set<std::string> written = dir_.Tree();
  for (const char* extension : {".msg", ".eml"})
    EXPECT_EQ(std::count_if(written.begin(), written.end(),
                            [extension](const std::string& name) { return name.ends_with(extension); }),
              saved)
        << extension;
}

// Saved as .eml, each of the shared messages is, byte for byte, what the
// writer makes of the message itself (the test run compares these files
// with the native build's); the scratch message files are gone.
TEST_F(OutlookTest, MailSavedAsEmlIsWhatTheWriterMakesOfTheMessage) {
  outlook_.Switch(L"messages", L"");
  Search("\\\\Postfach Zoë\\Messages");
  SaveListedItems(window_.app, OpenMailStore, "\\\\Postfach Zoë\\Messages", window_.list, dir_.Text() + "\\",
                  {"%6", "EML", false, "50", "50"});
  ASSERT_EQ(window_.Messages(), std::vector<std::string>{});
  test::ScratchDir expected;
  for (const auto& fixture : testing::MessageFixtures()) {
    const std::string name = std::string(fixture.entry_id) + ".eml";
    SaveMessageAs(testing::AsReadBack(fixture.content), fixture.Facts(), expected.Text() + "\\" + name, SaveType::Eml);
    EXPECT_EQ(dir_.Read(name), expected.Read(name)) << name;
    testing::KeepForParity(dir_.Path() / name, fixture.entry_id);
  }
  EXPECT_EQ(dir_.Tree().size(), 5u) << "the record, the lock and the three .eml files, no scratch file";
}

// The listed rows are fetched again by their entry identifiers: one deleted
// since the search is the one not saved.
TEST_F(OutlookTest, SaveWritesUnicodeMessagesInTheFolderTree) {
  Search("\\\\Postfach Zoë\\Inbox");
  ASSERT_EQ(outlook_.Switch(L"delete", L"00000000A1000001"), 1);
  SaveListedItems(window_.app, OpenMailStore, "\\\\Postfach Zoë\\Inbox", window_.list,
                  dir_.Text() + "\\", {"%1 %3", "MSG", true, "50", "50"});
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{"1 of 4 emails could not be saved."});
  const std::set<std::string> written = dir_.Tree();
  EXPECT_EQ(written, (std::set<std::string>{std::string(kSaveRecordName),
                                            std::string(kSaveLockName),
                                            "2009-12-05 07 03 09 Re  hello .msg", "Projekte Ü",
                                            "Projekte Ü/2009-03-01 12 00 01 Grüße aus Köln.msg",
                                            "Projekte Ü/2009 — Q4",
                                            "Projekte Ü/2009 — Q4/2009-10-02 00 00 00 Plan.msg"}));
  for (const std::string& name : written)
    EXPECT_EQ(dir_.Read(name).find("type=9") != std::string::npos, name.ends_with(".msg"))
        << name;
  EXPECT_TRUE(GetFileAttributesW((dir_.Path() / kSaveRecordName).c_str()) &
              FILE_ATTRIBUTE_HIDDEN);
}

TEST(OutlookSurrogateTest, SearchAndErrorsCrossTheProcessBoundary) {
  FakeOutlook outlook(testing::Hosting::Surrogate);
  testing::WindowHarness window;
  SearchMailFolder(window.app, OpenMailStore, "\\\\Postfach Zoë\\Inbox", window.list, kAll);
  EXPECT_TRUE(window.Messages().empty());
  ASSERT_EQ(window.list.RowCount(), 4);
  EXPECT_EQ(window.list.Text(2, 3), "Tester; Zoë Ünal");
  EXPECT_GE(outlook.SurrogateProcesses(), 1) << "the fake ran inside the test program";
  {
    const auto store = OpenMailStore(window.app);
    EXPECT_THROW(store->GetItemFromID(Id("00000000FFFFFFFF")), MailStoreError);
    EXPECT_EQ(store->GetItemFromID(Id("00000000B2000001"))->Subject(), "Старое письмо");
  }
  EXPECT_EQ(outlook.LiveObjects(), 0) << "objects held in Outlook's process";
}

}  // namespace
}  // namespace qs

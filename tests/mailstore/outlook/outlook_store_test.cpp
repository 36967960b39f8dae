// Every operation of the Outlook binding against the fake Outlook; after each
// test no object of Outlook's may still be held.

#include <gtest/gtest.h>

#include <functional>

#include "fake_outlook_registration.h"
#include "mailstore/open_mail_store.h"
#include "tests/common/scratch_dir.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeOutlook;

class OutlookStoreTest : public ::testing::Test {
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

  FakeOutlook outlook_;
  testing::WindowHarness window_;
  std::unique_ptr<MailStore> store_;
  test::ScratchDir dir_;
};

TEST_F(OutlookStoreTest, FindsAndListsFoldersAndItemsInOutlooksOrder) {
  const auto nested =
      Mailbox()->Subfolder("inbox")->Subfolder("Projekte Ü")->Subfolder("2009 — Q4");
  EXPECT_EQ(nested->FolderPath(), "\\\\Postfach Zoë\\Inbox\\Projekte Ü\\2009 — Q4");
  EXPECT_EQ(nested->FullPath(), "//Postfach Zoë/Inbox/Projekte Ü/2009 — Q4");
  ASSERT_EQ(Mailbox()->SubfolderCount(), 3);
  EXPECT_EQ(Mailbox()->SubfolderAt(3)->FolderPath(), "\\\\Postfach Zoë\\Broken");
  const auto inbox = Mailbox()->Subfolder("Inbox");
  ASSERT_EQ(inbox->ItemCount(), 3);
  // Out of order, by position, gives the same items; a report is read by
  // its own member names, not those the mail item looked up first.
  EXPECT_EQ(inbox->ItemAt(3)->Subject(), "Re: hello?");
  EXPECT_EQ(inbox->ItemAt(1)->Subject(), "Quarterly figures");
  const auto report = inbox->ItemAt(2);
  EXPECT_EQ(report->Class(), kReportItemClass);
  EXPECT_EQ(report->Subject(), "Undeliverable: hello");
  EXPECT_THROW(report->SenderEmailAddress(), MailStoreError);
}

// Each failure names the operation and keeps Outlook's words and code.
TEST_F(OutlookStoreTest, FailuresCarryOutlooksWordsAndTheOperation) {
  const auto mail = Store().GetItemFromID("00000000A1000003");
  const auto damaged = Mailbox()->Subfolder("Broken")->ItemAt(2);
  const struct {
    std::function<void()> call;
    const char* words;
  } cases[] = {
      {[&] { Store().TopFolder("Mailbox"); }, "Folders.Item: The attempted operation failed."},
      {[&] { Mailbox()->Subfolder("Inbox")->ItemAt(4); }, "Items.Item"},
      {[&] { Store().GetItemFromID("00000000FFFFFFFF"); }, "NameSpace.GetItemFromID"},
      {[&] { damaged->Subject(); }, "MailItem.Subject: Outlook cannot read this item."},
      {[&] { mail->SaveAs(dir_.File("nowhere\\m.msg"), SaveType::Message); }, "MailItem.SaveAs"},
      {[&] { mail->AttachmentAt(1)->SaveAsFile(dir_.File("nowhere\\x")); },
       "Attachment.SaveAsFile"},
  };
  for (const auto& test : cases) {
    std::string failure = "no failure";
    try {
      test.call();
    } catch (const MailStoreError& error) {
      failure = error.what();
    }
    EXPECT_NE(failure.find(test.words), std::string::npos) << test.words << " not in: " << failure;
  }
}

TEST_F(OutlookStoreTest, AsksOutlookForEachPropertyOnceAndReadsItsNoDate) {
  const auto item = Store().GetItemFromID("00000000A1000001");
  const auto read_all = [&] {
    return std::make_tuple(item->Class(), item->SentOn(), item->ReceivedTime(),
                           item->CreationTime(), item->Sent(), item->SenderEmailAddress(),
                           item->To(), item->Subject(), item->EntryID(), item->AttachmentCount());
  };
  // The values themselves the search test reads from every column.
  read_all();
  const long calls = outlook_.Calls();
  read_all();
  EXPECT_EQ(outlook_.Calls(), calls) << "a property was asked of Outlook twice";
  const auto draft = Mailbox()->Subfolder("Drafts")->ItemAt(1);
  EXPECT_FALSE(draft->Sent());
  EXPECT_EQ(draft->SentOn(), NoDate());
  EXPECT_EQ(draft->ReceivedTime(), NoDate());
  EXPECT_EQ(draft->CreationTime(), MakeDateTime(2010, 1, 2, 3, 4, 5));
  // Found in the second store, and its folder.
  const auto archived = Store().GetItemFromID("00000000B2000001");
  EXPECT_EQ(archived->Parent()->FullPath(), "//Архив/Входящие");
}

TEST_F(OutlookStoreTest, AttachmentsAreCountedNamedAndSaved) {
  const auto item = Store().GetItemFromID("00000000A1000003");
  ASSERT_EQ(item->AttachmentCount(), 2);
  const auto second = item->AttachmentAt(2);
  EXPECT_EQ(second->FileName(), "notes ü.txt");
  second->SaveAsFile(dir_.File(second->FileName()));
  EXPECT_NE(testing::ReadFileText(dir_.File("notes ü.txt")).find("file=notes ü.txt"),
            std::string::npos);
}

TEST_F(OutlookStoreTest, ObjectsMayOutliveTheStoreThatGaveThem) {
  auto item = Mailbox()->Subfolder("Inbox")->ItemAt(1);
  store_.reset();
  EXPECT_EQ(item->Subject(), "Quarterly figures");
  EXPECT_GT(outlook_.LiveObjects(), 0);
}

TEST(OutlookMissingTest, NotRegisteredIsAMailStoreError) {
  FakeOutlook::Unregister();
  testing::WindowHarness window;
  EXPECT_THROW(OpenMailStore(window.app), MailStoreError);
}

}  // namespace
}  // namespace qs

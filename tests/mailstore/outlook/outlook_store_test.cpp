// Every operation of the Outlook binding against the fake Outlook.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "fake_outlook_registration.h"
#include "mailstore/open_mail_store.h"
#include "platform/application.h"
#include "platform/console/console_window_system.h"

namespace qs {
namespace {

using testing::FakeOutlook;

const std::string kStore = "Postfach Zoë";

class OutlookStoreTest : public ::testing::Test {
 protected:
  void TearDown() override {
    store_.reset();
    EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held";
  }

  MailStore& Store() {
    if (!store_) store_ = OpenMailStore(app_);
    return *store_;
  }
  std::unique_ptr<Folder> Inbox() { return Store().TopFolder(kStore)->Subfolder("Inbox"); }

  // What MailStoreError says about a failing call.
  template <class Call>
  std::string FailureOf(Call call) {
    try {
      call();
    } catch (const MailStoreError& error) {
      return error.what();
    }
    return "no failure";
  }

  FakeOutlook outlook_;
  std::istringstream in_;
  std::ostringstream out_, err_;
  ConsoleWindowSystem windows_{in_, out_, err_};
  Application app_{windows_};
  std::unique_ptr<MailStore> store_;
};

TEST_F(OutlookStoreTest, FindsFoldersByNameAtEveryLevel) {
  const auto top = Store().TopFolder(kStore);
  EXPECT_EQ(top->FolderPath(), "\\\\Postfach Zoë");
  const auto nested = top->Subfolder("inbox")->Subfolder("Projekte Ü")->Subfolder("2009 — Q4");
  EXPECT_EQ(nested->FolderPath(), "\\\\Postfach Zoë\\Inbox\\Projekte Ü\\2009 — Q4");
  EXPECT_EQ(nested->FullPath(), "//Postfach Zoë/Inbox/Projekte Ü/2009 — Q4");
  EXPECT_EQ(Store().TopFolder("Архив")->Subfolder("Входящие")->FolderPath(),
            "\\\\Архив\\Входящие");
}

// Each failure names the operation and keeps Outlook's words and code; the
// objects it held are let go (TearDown counts them).
TEST_F(OutlookStoreTest, FailuresCarryOutlooksWordsAndTheOperation) {
  testing::TempDirectory directory;
  const auto mail = Inbox()->ItemAt(3);
  const auto damaged = Store().TopFolder(kStore)->Subfolder("Broken")->ItemAt(2);
  const struct {
    std::function<void()> call;
    std::vector<std::string> words;
  } cases[] = {
      {[&] { Store().TopFolder("Mailbox"); },
       {"Folders.Item", "An object could not be found.", "0x8004010F"}},
      {[&] { Inbox()->Subfolder(""); }, {"Folders.Item"}},
      {[&] { Inbox()->Subfolder("Projekte"); }, {"Folders.Item"}},
      {[&] { Inbox()->ItemAt(4); }, {"Items.Item"}},
      {[&] { Inbox()->SubfolderAt(2); }, {"Folders.Item"}},
      {[&] { Store().GetItemFromID("00000000FFFFFFFF"); }, {"NameSpace.GetItemFromID", "0x8004010F"}},
      {[&] { damaged->Subject(); }, {"MailItem.Subject", "Outlook cannot read this item."}},
      {[&] { damaged->To(); }, {"MailItem.To", "Outlook cannot read this item."}},
      {[&] { mail->SaveAs(directory.Path() + "nowhere\\m.msg", SaveType::Message); },
       {"MailItem.SaveAs"}},
      {[&] { mail->AttachmentAt(3); }, {"Attachments.Item"}},
      {[&] { mail->AttachmentAt(1)->SaveAsFile(directory.Path() + "nowhere\\x.txt"); },
       {"Attachment.SaveAsFile"}},
  };
  for (const auto& test : cases) {
    const std::string failure = FailureOf(test.call);
    for (const std::string& words : test.words)
      EXPECT_NE(failure.find(words), std::string::npos) << words << " not in: " << failure;
  }
  EXPECT_EQ(damaged->Class(), kMailItemClass);
}

TEST_F(OutlookStoreTest, ListsSubfoldersAndItemsInOutlooksOrder) {
  const auto top = Store().TopFolder(kStore);
  ASSERT_EQ(top->SubfolderCount(), 3);
  EXPECT_EQ(top->SubfolderAt(1)->FolderPath(), "\\\\Postfach Zoë\\Inbox");
  EXPECT_EQ(top->SubfolderAt(3)->FolderPath(), "\\\\Postfach Zoë\\Broken");
  EXPECT_EQ(top->ItemCount(), 0);

  const auto inbox = Inbox();
  ASSERT_EQ(inbox->ItemCount(), 3);
  std::vector<std::string> seen;
  for (std::int32_t i = 1; i <= 3; ++i) {
    const auto item = inbox->ItemAt(i);
    seen.push_back(std::to_string(item->Class()) + " " + item->Subject());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"43 Quarterly figures", "46 Undeliverable: hello",
                                            "43 Re: hello?"}));
  // Out of order, by position, gives the same items.
  EXPECT_EQ(inbox->ItemAt(3)->Subject(), "Re: hello?");
  EXPECT_EQ(inbox->ItemAt(1)->Subject(), "Quarterly figures");
}

TEST_F(OutlookStoreTest, ReadsEveryPropertyOfAMailItem) {
  const auto item = Inbox()->ItemAt(1);
  EXPECT_EQ(item->Class(), kMailItemClass);
  EXPECT_EQ(item->CreationTime(), MakeDateTime(2009, 6, 1, 8));
  EXPECT_EQ(item->SentOn(), MakeDateTime(2009, 6, 1, 9, 15, 30));
  EXPECT_EQ(item->ReceivedTime(), MakeDateTime(2009, 6, 1, 9, 16, 2));
  EXPECT_TRUE(item->Sent());
  EXPECT_EQ(item->SenderEmailAddress(), "alice@example.com");
  EXPECT_EQ(item->To(), "Tester");
  EXPECT_EQ(item->EntryID(), "00000000A1000001");
  EXPECT_EQ(item->Parent()->FolderPath(), "\\\\Postfach Zoë\\Inbox");
  EXPECT_EQ(item->AttachmentCount(), 0);
}

TEST_F(OutlookStoreTest, DraftHasOutlooksNoDateAndIsNotSent) {
  const auto draft = Store().TopFolder(kStore)->Subfolder("Drafts")->ItemAt(1);
  EXPECT_FALSE(draft->Sent());
  EXPECT_EQ(draft->SentOn(), NoDate());
  EXPECT_EQ(draft->ReceivedTime(), NoDate());
  EXPECT_EQ(draft->CreationTime(), MakeDateTime(2010, 1, 2, 3, 4, 5));
  EXPECT_EQ(draft->SenderEmailAddress(), "");
}

TEST_F(OutlookStoreTest, ReportItemIsReadByItsOwnMemberNames) {
  const auto inbox = Inbox();
  // The mail item's names are looked up first; the report's must not reuse them.
  EXPECT_EQ(inbox->ItemAt(1)->Subject(), "Quarterly figures");
  const auto report = inbox->ItemAt(2);
  EXPECT_EQ(report->Class(), kReportItemClass);
  EXPECT_EQ(report->Subject(), "Undeliverable: hello");
  EXPECT_EQ(report->EntryID(), "00000000A1000002");
  EXPECT_EQ(report->CreationTime(), MakeDateTime(2009, 6, 2));
  EXPECT_THROW(report->SenderEmailAddress(), MailStoreError);
}

TEST_F(OutlookStoreTest, EachPropertyIsAskedOfOutlookOnce) {
  const auto item = Inbox()->ItemAt(3);
  const auto read_all = [&] {
    return std::make_tuple(item->Class(), item->SentOn(), item->ReceivedTime(),
                           item->CreationTime(), item->Sent(), item->SenderEmailAddress(),
                           item->To(), item->Subject(), item->EntryID(), item->AttachmentCount());
  };
  const auto first = read_all();
  const long calls = outlook_.Calls();
  EXPECT_EQ(read_all(), first);
  EXPECT_EQ(outlook_.Calls(), calls);
}

TEST_F(OutlookStoreTest, GetItemFromIdSearchesEveryStore) {
  EXPECT_EQ(Store().GetItemFromID("00000000A1000004")->Subject(), "Grüße aus Köln");
  // Only found with the second store's identifier.
  const auto archived = Store().GetItemFromID("00000000B2000001");
  EXPECT_EQ(archived->Subject(), "Старое письмо");
  EXPECT_EQ(archived->SentOn(), MakeDateTime(1999, 12, 31, 23, 59, 59));
  EXPECT_EQ(archived->Parent()->FullPath(), "//Архив/Входящие");
}

TEST_F(OutlookStoreTest, SaveAsWritesTheTypeOutlookWasAskedFor) {
  testing::TempDirectory directory;
  const auto item = Store().GetItemFromID("00000000A1000003");
  for (const auto& [type, name] : {std::pair{SaveType::Text, "m.txt"},
                                   {SaveType::RichText, "m.rtf"},
                                   {SaveType::Message, "Zoë.msg"},
                                   {SaveType::Html, "m.html"}}) {
    item->SaveAs(directory.Path() + name, type);
    const std::string text = testing::ReadFileText(directory.Path() + name);
    EXPECT_NE(text.find("type=" + std::to_string(static_cast<int>(type))), std::string::npos)
        << name << ": " << text;
    EXPECT_NE(text.find("entry=00000000A1000003"), std::string::npos) << text;
  }
}

TEST_F(OutlookStoreTest, AttachmentsAreCountedNamedAndSaved) {
  testing::TempDirectory directory;
  const auto item = Inbox()->ItemAt(3);
  ASSERT_EQ(item->AttachmentCount(), 2);
  const auto second = item->AttachmentAt(2);
  EXPECT_EQ(item->AttachmentAt(1)->FileName(), "report.pdf");
  EXPECT_EQ(second->FileName(), "notes ü.txt");
  second->SaveAsFile(directory.Path() + second->FileName());
  const std::string text = testing::ReadFileText(directory.Path() + "notes ü.txt");
  EXPECT_NE(text.find("file=notes ü.txt"), std::string::npos) << text;
}

TEST_F(OutlookStoreTest, ObjectsMayOutliveTheStoreThatGaveThem) {
  auto item = Inbox()->ItemAt(1);
  auto folder = Store().TopFolder("Архив");
  store_.reset();
  // The session stays as long as anything taken from it.
  EXPECT_EQ(item->Subject(), "Quarterly figures");
  EXPECT_EQ(folder->SubfolderCount(), 1);
  EXPECT_GT(outlook_.LiveObjects(), 0);
  item.reset();
  folder.reset();
  EXPECT_EQ(outlook_.LiveObjects(), 0);
}

TEST(OutlookMissingTest, NotRegisteredIsAMailStoreError) {
  FakeOutlook::Unregister();
  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem windows{in, out, err};
  Application app{windows};
  try {
    OpenMailStore(app);
    FAIL() << "Outlook opened without being there";
  } catch (const MailStoreError& error) {
    EXPECT_NE(std::string(error.what()).find("Outlook.Application"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace qs

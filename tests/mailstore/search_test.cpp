#include "mailstore/search.h"

#include <gtest/gtest.h>

#include "mailstore/date_text.h"
#include "tests/mailstore/fake_mail_store.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeFolderData;
using testing::FakeMail;
using testing::FakeMailStore;
using testing::WindowHarness;

const char* const kFormat = "yyyy-mm-dd hh:nn:ss";

FakeMail Mail(const std::string& subject, DateTime time) {
  FakeMail mail;
  mail.subject = subject;
  mail.sent_on = mail.received = mail.created = time;
  mail.sender = subject + "@example.org";
  mail.to = "Clara Whitfield";
  mail.entry_id = "ID-" + subject;
  return mail;
}

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() {
    FakeFolderData& mailbox = store->AddStore("Mailbox");
    FakeFolderData& inbox = mailbox.Add("Inbox");
    inbox.items.push_back(Mail("a", MakeDateTime(2009, 6, 1, 10, 0, 0)));
    FakeMail report = Mail("report", MakeDateTime(2009, 6, 2));
    report.item_class = kReportItemClass;
    inbox.items.push_back(report);
    FakeMail meeting = Mail("meeting", MakeDateTime(2009, 6, 2));
    meeting.item_class = kMeetingRequestClass;
    inbox.items.push_back(meeting);
    inbox.items.push_back(Mail("b", MakeDateTime(2009, 6, 30)));
    FakeFolderData& orders = inbox.Add("Orders");
    orders.items.push_back(Mail("c", MakeDateTime(2009, 6, 30, 0, 0, 1)));
    // A folder with no items of its own, only a subfolder.
    inbox.Add("Projects").Add("Spring").items.push_back(Mail("d", MakeDateTime(2010, 1, 1)));
    mailbox.Add("Sent Items").items.push_back(Mail("e", MakeDateTime(2008, 12, 31)));
  }

  void Search(const std::string& path, SearchOptions settings = {"", "", kFormat}) {
    SearchMailFolder(ui.app, Opener(), path, ui.list, settings);
  }

  MailStoreOpener Opener() {
    return [this](Application&) { return std::unique_ptr<MailStore>(std::make_unique<FakeMailStore>(*store)); };
  }

  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row)
      texts.emplace_back(ui.list.Text(row, column));
    return texts;
  }
  std::vector<std::string> Subjects() const { return Column(2); }

  FakeFolderData& Inbox() { return *store->TopFolderData("Mailbox").subfolders[0]; }

  std::unique_ptr<FakeMailStore> store = std::make_unique<FakeMailStore>();
  WindowHarness ui;
};

using Texts = std::vector<std::string>;

TEST_F(SearchTest, ListsMailItemsDepthFirstAndEveryColumn) {
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c", "d", "e"}));
  ASSERT_EQ(ui.list.RowCount(), 5);
  EXPECT_EQ(ui.list.Text(1, 0), "2009-06-01 10:00:00");
  EXPECT_EQ(ui.list.Text(1, 1), "a@example.org");
  EXPECT_EQ(ui.list.Text(1, 3), "Clara Whitfield");
  EXPECT_EQ(ui.list.Text(1, 4), "2009-06-01 10:00:00");
  EXPECT_EQ(ui.list.Text(1, 5), "ID-a");
  EXPECT_EQ(ui.list.Text(1, 7), "2009-06-01 10:00:00");
  EXPECT_EQ(Column(6), (Texts{"\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox\\Orders",
                              "\\\\Mailbox\\Inbox\\Projects\\Spring", "\\\\Mailbox\\Sent Items"}));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(ui.app.FailureShown());
}

TEST_F(SearchTest, BothEndsOfTheWindowAreInclusiveAtMidnight) {
  Search("\\\\Mailbox\\Inbox", {"", "2009-06-30", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"a", "b"}));
  Search("\\\\Mailbox\\Inbox", {"2009-06-30", "", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"b", "c", "d"}));
  Search("\\\\Mailbox\\Inbox", {"", "2009-06-30 17:00", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"a", "b"}));
  Search("\\\\Mailbox", {"6/30/2009", "December 31, 2009", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"b", "c"}));
}

TEST_F(SearchTest, TextsThatAreNoDateFallBackToTheDefaults) {
  Inbox().items.push_back(Mail("old", MakeDateTime(1899, 12, 31, 23, 59, 59)));
  Inbox().items.push_back(Mail("edge", MakeDateTime(2099, 12, 31)));
  Inbox().items.push_back(Mail("late", MakeDateTime(2099, 12, 31, 0, 0, 1)));
  Search("\\\\Mailbox\\Inbox", {"soon", "later", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "edge", "c", "d"}));
}

TEST_F(SearchTest, SinceAfterBeforeListsNothingButWalksTheTree) {
  Search("\\\\Mailbox", {"2010-01-01", "2009-01-01", kFormat});
  EXPECT_EQ(ui.list.RowCount(), 0);
  EXPECT_TRUE(ui.Messages().empty());
  // The walk reaches a deep item that cannot be read, even with nothing to list.
  FakeMail broken = Mail("broken", MakeDateTime(2009, 1, 1));
  broken.unreadable = true;
  store->TopFolderData("Mailbox").subfolders[1]->items.push_back(broken);
  Search("\\\\Mailbox", {"2010-01-01", "2009-01-01", kFormat});
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));
}

TEST_F(SearchTest, LatestTimeRules) {
  FakeMail unsent = Mail("unsent", MakeDateTime(2009, 1, 1));
  unsent.sent = false;
  unsent.sent_on = MakeDateTime(2011, 5, 5);
  FakeMail created_late = Mail("created late", MakeDateTime(2009, 1, 1));
  created_late.created = MakeDateTime(2012, 2, 2, 12, 0, 0);
  FakeMail received_late = Mail("received late", MakeDateTime(2009, 1, 1));
  received_late.received = MakeDateTime(2013, 3, 3);
  FakeMail sent_late = Mail("sent late", MakeDateTime(2009, 1, 1));
  sent_late.sent_on = MakeDateTime(2014, 4, 4);
  store->AddStore("Test").items = {unsent, created_late, received_late, sent_late};
  Search("\\\\Test");
  EXPECT_EQ(Column(7), (Texts{"2009-01-01 00:00:00", "2012-02-02 12:00:00", "2013-03-03 00:00:00",
                              "2014-04-04 00:00:00"}));
  // The unsent item's sent date still shows; it just does not count.
  EXPECT_EQ(ui.list.Text(1, 0), "2011-05-05 00:00:00");
  Search("\\\\Test", {"2010-01-01", "", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"created late", "received late", "sent late"}));
}

TEST_F(SearchTest, GetLatestTimeTakesOnlyLaterTimes) {
  FakeMail mail = Mail("x", MakeDateTime(2009, 1, 1));
  mail.sent_on = MakeDateTime(2009, 1, 2);
  mail.received = MakeDateTime(2009, 1, 3);
  testing::FakeItem item(mail);
  EXPECT_EQ(GetLatestTime(item), MakeDateTime(2009, 1, 3));
  mail.sent = false;
  mail.received = MakeDateTime(2008, 1, 1);
  testing::FakeItem unsent(mail);
  EXPECT_EQ(GetLatestTime(unsent), MakeDateTime(2009, 1, 1));
}

TEST_F(SearchTest, SearchingTwiceListsEachItemOnce) {
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\\\Mailbox\\Inbox\\Orders");
  EXPECT_EQ(Subjects(), (Texts{"c"}));
}

TEST_F(SearchTest, OneMessageWhenTheStoreCannotBeReachedAndTheListStays) {
  Search("\\\\Mailbox\\Inbox\\Orders");
  SearchMailFolder(ui.app, [](Application&) -> std::unique_ptr<MailStore> {
    throw MailStoreError("Outlook is not available");
  }, "\\\\Mailbox", ui.list, {});
  EXPECT_EQ(Subjects(), (Texts{"c"}));
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));
  EXPECT_TRUE(ui.app.FailureShown());
  EXPECT_EQ(ui.console.BoxesShown().back().title, ui.app.Title());
}

TEST_F(SearchTest, BadPathsEmptyTheListAndReport) {
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\Mailbox\\Inbox");
  EXPECT_EQ(ui.list.RowCount(), 0);
  EXPECT_EQ(ui.Messages(), (Texts{"Error: folder path should start with \\\\", kSearchFailure}));
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\\\Mailbox\\Nowhere");
  EXPECT_EQ(ui.list.RowCount(), 0);
  EXPECT_EQ(ui.Messages().size(), 3u);
  EXPECT_EQ(ui.Messages().back(), kSearchFailure);
}

TEST_F(SearchTest, RowsFoundBeforeAFailureStay) {
  FakeMail broken = Mail("broken", MakeDateTime(2009, 1, 1));
  broken.unreadable = true;
  Inbox().subfolders[0]->items.push_back(broken);  // after c in Orders
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c"}));
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));

  Inbox().subfolders[0]->items.pop_back();
  Inbox().subfolders[1]->unreadable = true;  // Projects
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c"}));
  EXPECT_EQ(ui.Messages().size(), 2u);
}

TEST_F(SearchTest, AnItemGoneSinceTheListingIsLeftOutAndTheSearchGoesOn) {
  FakeMail gone = Mail("gone", MakeDateTime(2009, 6, 1));
  gone.gone = true;
  Inbox().items.insert(Inbox().items.begin(), gone);
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SearchTest, DamagedItemsAreCountedOnceAndTheRestListed) {
  FakeMail damaged = Mail("damaged", MakeDateTime(2009, 6, 1));
  damaged.damaged = true;
  Inbox().items.insert(Inbox().items.begin(), damaged);
  Inbox().subfolders[0]->items.push_back(damaged);
  ui.app.SetDebugLevel(1);
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(ui.Messages(), (Texts{"2 items could not be read."}));
  EXPECT_TRUE(ui.app.FailureShown());
  const std::string debug = ui.errors.str();
  EXPECT_NE(debug.find("an item of \\\\Mailbox\\Inbox could not be read"), std::string::npos) << debug;
  EXPECT_NE(debug.find("an item of \\\\Mailbox\\Inbox\\Orders could not be read"), std::string::npos) << debug;
}

TEST_F(SearchTest, MoreThan32767ItemsAreListedWhole) {
  FakeFolderData& big = store->AddStore("Big");
  big.items.assign(33000, Mail("bulk", MakeDateTime(2009, 1, 1)));
  Search("\\\\Big");
  EXPECT_EQ(ui.list.RowCount(), 33000);
  EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace qs

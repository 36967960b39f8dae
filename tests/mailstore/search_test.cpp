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
using Texts = std::vector<std::string>;

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
    FakeFolderData& mailbox = store.AddStore("Mailbox");
    FakeFolderData& inbox = mailbox.Add("Inbox");
    inbox.items.push_back(Mail("a", MakeDateTime(2009, 6, 1, 10, 0, 0)));
    FakeMail report = Mail("report", MakeDateTime(2009, 6, 2));
    report.item_class = kReportItemClass;
    FakeMail meeting = Mail("meeting", MakeDateTime(2009, 6, 2));
    meeting.item_class = kMeetingRequestClass;
    inbox.items.insert(inbox.items.end(), {report, meeting, Mail("b", MakeDateTime(2009, 6, 30))});
    inbox.Add("Orders").items.push_back(Mail("c", MakeDateTime(2009, 6, 30, 0, 0, 1)));
    // A folder with no items of its own, only a subfolder.
    inbox.Add("Projects").Add("Spring").items.push_back(Mail("d", MakeDateTime(2010, 1, 1)));
    mailbox.Add("Sent Items").items.push_back(Mail("e", MakeDateTime(2008, 12, 31)));
  }

  void Search(const std::string& path, SearchOptions settings = {"", "", kFormat}) {
    SearchMailFolder(ui.app, [this](Application&) { return std::make_unique<FakeMailStore>(store); }, path,
                     ui.list, settings);
  }

  Texts Column(int column) const {
    Texts texts;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row) texts.emplace_back(ui.list.Text(row, column));
    return texts;
  }
  Texts Subjects() const { return Column(2); }
  FakeFolderData& Inbox() { return *store.TopFolderData("Mailbox").subfolders[0]; }

  FakeMailStore store;
  WindowHarness ui;
};

TEST_F(SearchTest, ListsMailItemsDepthFirstWithEveryColumn) {
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(ui.list.Texts(1), (RowTexts{"2009-06-01 10:00:00", "a@example.org", "a", "Clara Whitfield",
                                        "2009-06-01 10:00:00", "ID-a", "\\\\Mailbox\\Inbox",
                                        "2009-06-01 10:00:00"}));
  EXPECT_EQ(Column(6), (Texts{"\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox\\Orders",
                              "\\\\Mailbox\\Inbox\\Projects\\Spring", "\\\\Mailbox\\Sent Items"}));
  // A second search lists each item once again, not twice.
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\\\Mailbox\\Inbox\\Orders");
  EXPECT_EQ(Subjects(), (Texts{"c"}));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(ui.app.FailureShown());
}

// Both ends of the window are inclusive at midnight; texts that are no date
// fall back to 1900-01-01 and 2099-12-31.
TEST_F(SearchTest, TheDateWindow) {
  store.AddStore("Edges").items = {Mail("old", MakeDateTime(1899, 12, 31, 23, 59, 59)),
                                   Mail("edge", MakeDateTime(2099, 12, 31)),
                                   Mail("late", MakeDateTime(2099, 12, 31, 0, 0, 1))};
  const struct {
    std::string path, since, before;
    Texts subjects;
  } rows[] = {
      {"\\\\Mailbox\\Inbox", "", "2009-06-30", {"a", "b"}},
      {"\\\\Mailbox\\Inbox", "2009-06-30", "", {"b", "c", "d"}},
      {"\\\\Mailbox\\Inbox", "", "2009-06-30 17:00", {"a", "b"}},
      {"\\\\Mailbox", "6/30/2009", "December 31, 2009", {"b", "c"}},
      {"\\\\Mailbox", "2010-01-01", "2009-01-01", {}},
      {"\\\\Edges", "soon", "later", {"edge"}},
  };
  for (const auto& row : rows) {
    Search(row.path, {row.since, row.before, kFormat});
    EXPECT_EQ(Subjects(), row.subjects) << row.since << " to " << row.before;
  }
}

TEST_F(SearchTest, TheLatestOfCreatedReceivedAndSentIfSentCounts) {
  FakeMail unsent = Mail("unsent", MakeDateTime(2009, 1, 1));
  unsent.sent = false;
  unsent.sent_on = MakeDateTime(2011, 5, 5);
  FakeMail created = Mail("created late", MakeDateTime(2009, 1, 1));
  created.created = MakeDateTime(2012, 2, 2, 12, 0, 0);
  FakeMail received = Mail("received late", MakeDateTime(2009, 1, 1));
  received.received = MakeDateTime(2013, 3, 3);
  FakeMail sent = Mail("sent late", MakeDateTime(2009, 1, 1));
  sent.sent_on = MakeDateTime(2014, 4, 4);
  store.AddStore("Test").items = {unsent, created, received, sent};
  Search("\\\\Test");
  EXPECT_EQ(Column(7), (Texts{"2009-01-01 00:00:00", "2012-02-02 12:00:00", "2013-03-03 00:00:00",
                              "2014-04-04 00:00:00"}));
  EXPECT_EQ(ui.list.Text(1, 0), "2011-05-05 00:00:00");  // shown, but not counted
  Search("\\\\Test", {"2010-01-01", "", kFormat});
  EXPECT_EQ(Subjects(), (Texts{"created late", "received late", "sent late"}));
}

TEST_F(SearchTest, BadPathsAndAnUnreachableStoreAreReportedOnce) {
  Search("\\\\Mailbox\\Inbox\\Orders");
  SearchMailFolder(ui.app, [](Application&) -> std::unique_ptr<MailStore> {
    throw MailStoreError("Outlook is not available");
  }, "\\\\Mailbox", ui.list, {});
  EXPECT_EQ(Subjects(), (Texts{"c"})) << "the list stays";
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));
  EXPECT_TRUE(ui.app.FailureShown());
  Search("\\Mailbox\\Inbox");
  EXPECT_EQ(ui.list.RowCount(), 0);
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\\\Mailbox\\Nowhere");
  EXPECT_EQ(ui.list.RowCount(), 0);
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure, "Error: folder path should start with \\\\", kSearchFailure,
                                  kSearchFailure}));
}

// An item or folder the store cannot read ends the search, even one past
// the window; the rows found before it stay.
TEST_F(SearchTest, AFailureEndsTheSearchAndTheRowsBeforeItStay) {
  FakeMail broken = Mail("broken", MakeDateTime(2009, 1, 1));
  broken.unreadable = true;
  store.TopFolderData("Mailbox").subfolders[1]->items.push_back(broken);  // Sent Items
  Search("\\\\Mailbox", {"2010-01-01", "2009-01-01", kFormat});
  EXPECT_EQ(ui.Messages(), (Texts{kSearchFailure}));
  Inbox().subfolders[0]->items.push_back(broken);  // after c in Orders
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c"}));
  Inbox().subfolders[0]->items.pop_back();
  Inbox().subfolders[1]->unreadable = true;  // Projects
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c"}));
  EXPECT_EQ(ui.Messages().size(), 3u);
}

// An item gone since the listing is left out; damaged ones are counted once
// at the end; the search goes on past both.
TEST_F(SearchTest, GoneAndDamagedItemsArePassedOver) {
  FakeMail gone = Mail("gone", MakeDateTime(2009, 6, 1));
  gone.gone = true;
  FakeMail damaged = Mail("damaged", MakeDateTime(2009, 6, 1));
  damaged.damaged = true;
  Inbox().items.insert(Inbox().items.begin(), {gone, damaged});
  Inbox().subfolders[0]->items.push_back(damaged);
  ui.app.SetDebugLevel(1);
  Search("\\\\Mailbox");
  EXPECT_EQ(Subjects(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(ui.Messages(), (Texts{"2 items could not be read."}));
  EXPECT_TRUE(ui.app.FailureShown());
  EXPECT_NE(ui.errors.str().find("an item of \\\\Mailbox\\Inbox\\Orders could not be read"), std::string::npos)
      << ui.errors.str();
}

TEST_F(SearchTest, MoreThan32767ItemsAreListedWhole) {
  store.AddStore("Big").items.assign(33000, Mail("bulk", MakeDateTime(2009, 1, 1)));
  Search("\\\\Big");
  EXPECT_EQ(ui.list.RowCount(), 33000);
}

}  // namespace
}  // namespace qs

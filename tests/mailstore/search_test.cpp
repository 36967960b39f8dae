#include "mailstore/search.h"

#include <gtest/gtest.h>

#include "mailstore/date_text.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scoped_environment.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeFolderData;
using testing::FakeMail;
using testing::FakeMailStore;
using testing::WindowHarness;
using Texts = std::vector<std::string>;

const char* const kFormat = "yyyy-mm-dd hh:nn:ss";

FakeMail Mail(const std::string& subject, DateTime time, int item_class = kMailItemClass) {
  FakeMail mail;
  mail.item_class = item_class;
  mail.subject = subject;
  mail.sent_on = mail.received = mail.created = time;
  mail.sender = subject + "@example.org";
  mail.to = "Clara Whitfield";
  mail.entry_id = std::string("\0\xFF", 2) + subject;  // the bytes of an identifier
  return mail;
}

// Every case runs with the store read on one thread, and on three where
// items are taken ahead of those being listed.
class SearchTest : public ::testing::TestWithParam<bool> {
 protected:
  SearchTest() : threads_("QUILLSTOW_THREADS", GetParam() ? "3" : "1") {
    store.parallel = GetParam();
    mailbox.Add("Inbox").items = {Mail("a", MakeDateTime(2009, 6, 1, 10, 0, 0)),
                                  Mail("report", MakeDateTime(2009, 6, 2), kReportItemClass),
                                  Mail("meeting", MakeDateTime(2009, 6, 2), kMeetingRequestClass),
                                  Mail("b", MakeDateTime(2009, 6, 30))};
    Inbox().Add("Orders").items.push_back(Mail("c", MakeDateTime(2009, 6, 30, 0, 0, 1)));
    // A folder with no items of its own, only a subfolder.
    Inbox().Add("Projects").Add("Spring").items.push_back(Mail("d", MakeDateTime(2010, 1, 1)));
    mailbox.Add("Sent Items").items.push_back(Mail("e", MakeDateTime(2008, 12, 31)));
  }

  void Search(const std::string& path, SearchOptions settings = {"", "", kFormat}) {
    SearchMailFolder(ui.app, [this](Reporter&) { return std::make_unique<FakeMailStore>(store); }, path,
                     ui.list, settings);
  }

  Texts Column(int column) const {
    Texts texts;
    for (std::int32_t row = 1; row <= ui.list.RowCount(); ++row)
      texts.emplace_back(ui.list.Text(row, column));
    return texts;
  }
  FakeFolderData& Inbox() { return *mailbox.subfolders[0]; }

  testing::ScopedEnvironment threads_;
  FakeMailStore store;
  FakeFolderData& mailbox = store.AddStore("Mailbox");
  WindowHarness ui;
};

INSTANTIATE_TEST_SUITE_P(Threads, SearchTest, ::testing::Bool());

TEST_P(SearchTest, ListsMailItemsDepthFirstWithEveryColumn) {
  ui.app.SetDebugLevel(1);
  Search("\\\\Mailbox");
  EXPECT_EQ(Column(2), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_NE(ui.err.str().find("search: passed over: 1 meeting request, 1 report\n"), std::string::npos)
      << "items that are no mail are counted by kind: " << ui.err.str();
  EXPECT_EQ(ui.list.PassedOver(), "passed over: 1 meeting request, 1 report") << "and kept with the list";
  EXPECT_EQ(ui.list.Texts(1), (RowTexts{"2009-06-01 10:00:00", "a@example.org", "a", "Clara Whitfield",
                                        "2009-06-01 10:00:00", "00FF61", "\\\\Mailbox\\Inbox",
                                        "2009-06-01 10:00:00"}));
  EXPECT_EQ(Column(6), (Texts{"\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox", "\\\\Mailbox\\Inbox\\Orders",
                              "\\\\Mailbox\\Inbox\\Projects\\Spring", "\\\\Mailbox\\Sent Items"}));
  // A second search lists each item once again, not twice.
  Search("\\\\Mailbox\\Inbox\\Orders");
  Search("\\\\Mailbox\\Inbox\\Orders");
  EXPECT_EQ(Column(2), (Texts{"c"}));
  EXPECT_TRUE(ui.Messages().empty());
}

// Both ends of the window are inclusive at midnight; texts that are no date
// fall back to 1900-01-01 and 2099-12-31.
TEST_P(SearchTest, TheDateWindow) {
  store.AddStore("Edges").items = {Mail("old", MakeDateTime(1899, 12, 31, 23, 59, 59)),
                                   Mail("edge", MakeDateTime(2099, 12, 31)),
                                   Mail("late", MakeDateTime(2099, 12, 31, 0, 0, 1))};
  const struct {
    std::string path, since, before;
    Texts subjects;
  } rows[] = {
      {"\\\\Mailbox\\Inbox", "", "2009-06-30", {"a", "b"}},
      {"\\\\Mailbox\\Inbox", "2009-06-30", "", {"b", "c", "d"}},
      {"\\\\Mailbox", "6/30/2009", "December 31, 2009", {"b", "c"}},
      {"\\\\Mailbox", "2010-01-01", "2009-01-01", {}},
      {"\\\\Edges", "soon", "later", {"edge"}},
  };
  for (const auto& row : rows) {
    Search(row.path, {row.since, row.before, kFormat});
    EXPECT_EQ(Column(2), row.subjects) << row.since << " to " << row.before;
  }
  // Those that are no date are told of, where the user looks, as failures.
  for (const char* told : {"The Since date \"soon\" cannot be read", "The Before date \"later\" cannot be read"})
    EXPECT_NE(ui.err.str().find(told), std::string::npos) << ui.err.str();
  EXPECT_TRUE(ui.app.FailureShown());
}

// An unsent item's sent date shows, but does not count; nor does a date
// that is not set. An item with none set is earlier than every date.
TEST_P(SearchTest, TheLatestOfCreatedReceivedAndSentIfSentCounts) {
  const DateTime late = MakeDateTime(2014, 4, 4);
  std::vector<FakeMail>& items = store.AddStore("Test").items;
  items.assign(6, Mail("x", MakeDateTime(2009, 1, 1)));
  items[0].sent = false;
  items[0].sent_on = items[1].created = items[2].received = items[3].sent_on = late;
  items[4].sent_on = items[4].created = NoDate();  // received, never submitted
  items[5].sent_on = items[5].created = items[5].received = NoDate();
  Search("\\\\Test");
  EXPECT_EQ(Column(7), (Texts{"2009-01-01 00:00:00", "2014-04-04 00:00:00", "2014-04-04 00:00:00",
                              "2014-04-04 00:00:00", "2009-01-01 00:00:00", "4501-01-01 00:00:00"}));
  EXPECT_EQ(ui.list.Text(1, 0), "2014-04-04 00:00:00");
  Search("\\\\Test", {"2000-01-01", "", kFormat});
  EXPECT_EQ(Column(7).size(), 5u) << "a window with a lower bound leaves out an item with no date";
}

// A store that cannot be reached leaves the last list; a missing folder, or
// an unreadable item or folder (even past the window), ends the search and
// the rows before it stay. Each is one message.
TEST_P(SearchTest, FailuresEndTheSearchWithOneMessage) {
  Search("\\\\Mailbox\\Inbox\\Orders");
  SearchMailFolder(ui.app, [](Reporter&) -> std::unique_ptr<MailStore> {
    throw MailStoreError("Outlook is not available");
  }, "\\\\Mailbox", ui.list, {});
  EXPECT_EQ(Column(2), (Texts{"c"})) << "the list stays";
  EXPECT_TRUE(ui.app.FailureShown());
  EXPECT_NE(ui.err.str().find("the search stopped: Outlook is not available"), std::string::npos)
      << "the reason is shown where the user looks";
  Search("\\\\Mailbox\\Nowhere");
  EXPECT_EQ(ui.list.RowCount(), 0);
  FakeMail broken = Mail("broken", MakeDateTime(2009, 1, 1));
  broken.unreadable = true;
  mailbox.subfolders[1]->items.push_back(broken);  // Sent Items
  Search("\\\\Mailbox", {"2010-01-01", "2009-01-01", kFormat});
  auto& orders = Inbox().subfolders[0]->items;
  orders.insert(orders.begin(), broken);  // before c in Orders: nothing after it is listed
  Search("\\\\Mailbox");
  EXPECT_EQ(Column(2), (Texts{"a", "b"}));
  orders.erase(orders.begin());
  Inbox().subfolders[1]->unreadable = true;  // Projects
  Search("\\\\Mailbox");
  EXPECT_EQ(Column(2), (Texts{"a", "b", "c"}));
  EXPECT_EQ(ui.Messages(), Texts(5, kSearchFailure));
}

// An item gone since the listing is left out; damaged ones are counted once
// at the end; the search goes on past both, and past 32767 rows.
TEST_P(SearchTest, GoneAndDamagedItemsArePassedOver) {
  FakeMail gone = Mail("gone", MakeDateTime(2009, 6, 1)), damaged = gone;
  gone.gone = damaged.damaged = true;
  Inbox().items.insert(Inbox().items.begin(), {gone, damaged});
  Inbox().subfolders[0]->items.push_back(damaged);
  mailbox.subfolders[1]->items.resize(33000, Mail("e", MakeDateTime(2008, 12, 31)));
  Search("\\\\Mailbox");
  EXPECT_EQ(ui.list.RowCount(), 33004);
  Texts first = Column(2);
  first.resize(5);
  EXPECT_EQ(first, (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(ui.Messages(), (Texts{"2 items could not be read."}));
}

}  // namespace
}  // namespace qs

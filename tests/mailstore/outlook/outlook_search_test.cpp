// The search and the folder picker, end to end, over the fake Outlook.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "fake_outlook_registration.h"
#include "mailstore/folder_path.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeOutlook;

const SearchOptions kAll{"", "", "yyyy-mm-dd hh:nn:ss"};

class OutlookSearchTest : public ::testing::Test {
 protected:
  void Search(const std::string& path, const SearchOptions& settings = kAll) {
    SearchMailFolder(window_.app, OpenMailStore, path, window_.list, settings);
    EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held after the search";
  }
  std::vector<std::string> Subjects() const {
    std::vector<std::string> subjects;
    for (std::int32_t row = 1; row <= window_.list.RowCount(); ++row)
      subjects.emplace_back(window_.list.Text(row, 2));
    return subjects;
  }

  FakeOutlook outlook_;
  testing::WindowHarness window_;
};

TEST_F(OutlookSearchTest, FillsTheListDepthFirstWithMailOnly) {
  Search("\\\\Postfach Zoë\\Inbox");
  EXPECT_TRUE(window_.Messages().empty());
  EXPECT_EQ(Subjects(), (std::vector<std::string>{"Quarterly figures", "Re: hello?",
                                                  "Grüße aus Köln", "Plan"}));
  const std::vector<std::string> expected{"2009-12-05 07:03:09",   "bob@example.com",
                               "Re: hello?",            "Tester; Zoë Ünal",
                               "2009-12-05 07:04:00",   "00000000A1000003",
                               "\\\\Postfach Zoë\\Inbox", "2009-12-05 07:04:00"};
  std::vector<std::string> row;
  for (int column = 0; column <= 7; ++column) row.emplace_back(window_.list.Text(2, column));
  EXPECT_EQ(row, expected);
  EXPECT_EQ(window_.list.Text(4, 6), "\\\\Postfach Zoë\\Inbox\\Projekte Ü\\2009 — Q4");
  EXPECT_EQ(window_.list.Text(4, 7), "2009-10-03 23:59:59");
}

TEST_F(OutlookSearchTest, DraftCountsByOutlooksNoDateAndDatesAreExact) {
  // An unsent draft's received time is Outlook's "none", after any window...
  Search("\\\\Postfach Zoë\\Drafts\\");
  EXPECT_EQ(window_.list.RowCount(), 0);
  EXPECT_TRUE(window_.Messages().empty());
  // ...unless the window reaches that far.
  Search("\\\\Postfach Zoë\\Drafts", {"", "4501-01-01", kAll.date_format});
  ASSERT_EQ(window_.list.RowCount(), 1);
  EXPECT_EQ(window_.list.Text(1, 0), "4501-01-01 00:00:00");
  EXPECT_EQ(window_.list.Text(1, 7), "4501-01-01 00:00:00");

  // The archived item's latest time is 2000-01-01 00:00:00 to the second.
  Search("\\\\Архив", {"1999-12-31", "1999-12-31", kAll.date_format});
  EXPECT_EQ(Subjects(), std::vector<std::string>{});
  Search("\\\\Архив", {"2000-01-01", "2000-01-01", kAll.date_format});
  EXPECT_EQ(Subjects(), std::vector<std::string>{"Старое письмо"});
}

TEST_F(OutlookSearchTest, UnreadableItemKeepsTheRowsFoundBeforeIt) {
  Search("\\\\Postfach Zoë\\Broken");
  EXPECT_EQ(Subjects(), std::vector<std::string>{"Readable"});
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{kSearchFailure});
}

TEST_F(OutlookSearchTest, PickedFolderPathLeadsBackToItsFolder) {
  EXPECT_EQ(GetMailFolder(window_.app, OpenMailStore), std::nullopt);
  outlook_.Pick(L"\\\\Postfach Zoë\\Inbox\\Projekte Ü");
  const auto path = GetMailFolder(window_.app, OpenMailStore);
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, "\\\\Postfach Zoë\\Inbox\\Projekte Ü");
  EXPECT_EQ(outlook_.LiveObjects(), 0);
  Search(*path);
  EXPECT_EQ(Subjects(), (std::vector<std::string>{"Grüße aus Köln", "Plan"}));
}

// Not a check of behaviour alone: prints what a search costs in calls into
// Outlook, each of which is a round trip to another process in real use.
TEST_F(OutlookSearchTest, CallsIntoOutlookPerListedItem) {
  constexpr int kItems = 2000;
  outlook_.AddBulkFolder(kItems);
  outlook_.ResetCounts();
  const auto start = std::chrono::steady_clock::now();
  Search("\\\\Postfach Zoë\\Bulk");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const std::int32_t listed = window_.list.RowCount();
  ASSERT_EQ(listed, kItems - kItems / 10);
  const double per_item = static_cast<double>(outlook_.Calls()) / listed;
  std::printf("[ figure   ] %d items walked, %d listed: %ld calls into Outlook (%ld name "
              "lookups), %.2f per listed item, %.1f us per item\n",
              kItems, listed, outlook_.Calls(), outlook_.Lookups(), per_item,
              std::chrono::duration<double, std::micro>(elapsed).count() / kItems);
  EXPECT_LE(per_item, 10.0);
}

}  // namespace
}  // namespace qs

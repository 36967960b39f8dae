// The program's commands over the fake Outlook: the search, the folder picker
// and the save, in process and with Outlook in a process of its own (Wine's
// COM surrogate), where every value, object and error crosses a process
// boundary. After each command no object of Outlook's may still be held.

#include <gtest/gtest.h>


#include "fake_outlook_registration.h"
#include "mailstore/folder_path.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "save/modSaveListedItems.h"
#include "tests/common/scratch_dir.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeOutlook;

const SearchOptions kAll{"", "", "yyyy-mm-dd hh:nn:ss"};

class OutlookCommandsTest : public ::testing::Test {
 protected:
  void Search(const std::string& path) {
    SearchMailFolder(window_.app, OpenMailStore, path, window_.list, kAll);
    EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held after the search";
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (std::int32_t row = 1; row <= window_.list.RowCount(); ++row)
      texts.emplace_back(window_.list.Text(row, column));
    return texts;
  }

  FakeOutlook outlook_;
  testing::WindowHarness window_;
};

TEST_F(OutlookCommandsTest, SearchFillsTheListDepthFirstWithMailOnly) {
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

TEST_F(OutlookCommandsTest, AnUnreadableItemKeepsTheRowsFoundBeforeIt) {
  Search("\\\\Postfach Zoë\\Broken");
  EXPECT_EQ(Column(2), std::vector<std::string>{"Readable"});
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{kSearchFailure});
}

TEST_F(OutlookCommandsTest, APickedFolderPathLeadsBackToItsFolder) {
  EXPECT_EQ(GetMailFolder(window_.app, OpenMailStore), std::nullopt);  // cancelled
  outlook_.Switch(L"pick", L"\\\\Postfach Zoë\\Inbox\\Projekte Ü");
  const auto path = GetMailFolder(window_.app, OpenMailStore);
  ASSERT_TRUE(path);
  EXPECT_EQ(outlook_.LiveObjects(), 0);
  Search(*path);
  EXPECT_EQ(Column(2), (std::vector<std::string>{"Grüße aus Köln", "Plan"}));
}

// Each call into Outlook is a round trip to another process in real use.
TEST_F(OutlookCommandsTest, CallsIntoOutlookPerListedItem) {
  constexpr int kItems = 2000;
  outlook_.Switch(L"bulk", std::to_wstring(kItems).c_str());
  outlook_.ResetCounts();
  Search("\\\\Postfach Zoë\\Bulk");
  const std::int32_t listed = window_.list.RowCount();
  ASSERT_EQ(listed, kItems - kItems / 10);
  EXPECT_LE(outlook_.Calls(), 10 * listed) << outlook_.Calls() << " calls for " << listed;
  EXPECT_LE(outlook_.Lookups(), 40) << "names are looked up per item";
}

// The listed rows are fetched again by their entry identifiers: one deleted
// since the search is the one not saved.
TEST_F(OutlookCommandsTest, SaveWritesUnicodeMessagesInTheFolderTree) {
  Search("\\\\Postfach Zoë\\Inbox");
  ASSERT_EQ(outlook_.Switch(L"delete", L"00000000A1000001"), 1);
  test::ScratchDir dir;
  SaveListedItems(window_.app, OpenMailStore, "\\\\Postfach Zoë\\Inbox", window_.list,
                  dir.Text() + "\\", {"%1 %3", "MSG", true, "50", "50"});
  EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held after the save";
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{"1 of 4 emails could not be saved."});
  const std::set<std::string> written = dir.Tree();
  EXPECT_EQ(written, (std::set<std::string>{"2009-12-05 07 03 09 Re  hello .msg", "Projekte Ü",
                                            "Projekte Ü/2009-03-01 12 00 01 Grüße aus Köln.msg",
                                            "Projekte Ü/2009 — Q4",
                                            "Projekte Ü/2009 — Q4/2009-10-02 00 00 00 Plan.msg"}));
  for (const std::string& name : written)
    EXPECT_EQ(testing::ReadFileText(dir.File(name)).find("type=9") != std::string::npos,
              name.ends_with(".msg"))
        << name;
}

TEST(OutlookSurrogateTest, SearchAndErrorsCrossTheProcessBoundary) {
  FakeOutlook outlook(testing::Hosting::Surrogate);
  testing::WindowHarness window;
  SearchMailFolder(window.app, OpenMailStore, "\\\\Postfach Zoë\\Inbox", window.list, kAll);
  EXPECT_TRUE(window.Messages().empty());
  ASSERT_EQ(window.list.RowCount(), 4);
  EXPECT_EQ(window.list.Text(2, 3), "Tester; Zoë Ünal");
  EXPECT_GT(outlook.Calls(), 0) << "the fake did not serve the search";
  EXPECT_GE(outlook.SurrogateProcesses(), 1) << "the fake ran inside the test program";
  EXPECT_EQ(outlook.LiveObjects(), 0) << "objects held in Outlook's process after the search";
  {
    const auto store = OpenMailStore(window.app);
    EXPECT_THROW(store->GetItemFromID("00000000FFFFFFFF"), MailStoreError);
    EXPECT_EQ(store->GetItemFromID("00000000B2000001")->Subject(), "Старое письмо");
  }
  EXPECT_EQ(outlook.LiveObjects(), 0) << "objects held in Outlook's process after the command";
}

}  // namespace
}  // namespace qs

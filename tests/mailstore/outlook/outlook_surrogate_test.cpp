// The binding against the fake Outlook in a process of its own (Wine's COM
// surrogate), as it meets the real Outlook: every value, object and error
// crosses a process boundary.

#include <gtest/gtest.h>

#include "fake_outlook_registration.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

using testing::FakeOutlook;
using testing::Hosting;

TEST(OutlookSurrogateTest, SearchAndErrorsCrossTheProcessBoundary) {
  FakeOutlook outlook(Hosting::Surrogate);
  testing::WindowHarness window;
  SearchMailFolder(window.app, OpenMailStore, "\\\\Postfach Zoë\\Inbox", window.list,
                   {"", "", "yyyy-mm-dd hh:nn:ss"});
  EXPECT_TRUE(window.Messages().empty());
  ASSERT_EQ(window.list.RowCount(), 4);
  EXPECT_EQ(window.list.Text(2, 3), "Tester; Zoë Ünal");
  EXPECT_EQ(window.list.Text(4, 7), "2009-10-03 23:59:59");
  EXPECT_GT(outlook.Calls(), 0) << "the fake did not serve the search";
  EXPECT_GE(outlook.SurrogateProcesses(), 1) << "the fake ran inside the test program";
  EXPECT_EQ(outlook.LiveObjects(), 0) << "objects held in Outlook's process after the search";

  {
    const auto store = OpenMailStore(window.app);
    try {
      store->GetItemFromID("00000000FFFFFFFF");
      ADD_FAILURE() << "an unknown item was found";
    } catch (const MailStoreError& error) {
      EXPECT_NE(std::string(error.what()).find("An object could not be found."),
                std::string::npos)
          << error.what();
    }
    EXPECT_EQ(store->GetItemFromID("00000000B2000001")->Subject(), "Старое письмо");
  }
  EXPECT_EQ(outlook.LiveObjects(), 0) << "objects held in Outlook's process after the save";
}

}  // namespace
}  // namespace qs

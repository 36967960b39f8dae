// The COM helpers, against the fake Outlook as the automation server.

#include "platform/win32/com_dispatch.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_outlook_registration.h"
#include "platform/win32/com_bstr.h"
#include "platform/win32/com_error.h"
#include "platform/win32/com_init.h"
#include "tests/common/scratch_dir.h"

namespace qs::win32 {
namespace {

class ComDispatchTest : public ::testing::Test {
 protected:
  Dispatch Stores() {
    return Dispatch::Create("Outlook.Application").GetObject("GetNamespace", "MAPI")
        .GetObject("Folders");
  }

  ComApartment apartment_ = InitializeCom();
  testing::FakeOutlook outlook_;
};

TEST_F(ComDispatchTest, LooksEachNameUpOncePerCacheAndLetsEveryObjectGo) {
  {
    const Dispatch stores = Stores();
    outlook_.ResetCounts();
    EXPECT_EQ(stores.Get("Count").ToInt32("Count"), 2);
    EXPECT_EQ(stores.Get("COUNT").ToInt32("Count"), 2);  // names know no case
    EXPECT_EQ(outlook_.Lookups(), 1);
    EXPECT_EQ(outlook_.Calls(), 3);
    // Objects of one kind share what was looked up.
    const auto folders = std::make_shared<DispIdCache>("MAPIFolder");
    const Dispatch first = stores.GetObject(folders, "Item", 1);
    const Dispatch second = stores.GetObject(folders, "Item", 2);
    outlook_.ResetCounts();
    EXPECT_EQ(first.Get("Name").ToUtf8("Name"), "Postfach Zoë");
    EXPECT_EQ(second.Get("Name").ToUtf8("Name"), "Архив");
    EXPECT_EQ(outlook_.Lookups(), 1);
  }
  EXPECT_EQ(outlook_.LiveObjects(), 0);
}

TEST_F(ComDispatchTest, FailuresNameTheOperationAndKeepTheServersCodeAndWords) {
  const Dispatch stores = Stores();
  const struct {
    std::function<void()> call;
    HRESULT code;
    const char* words;
  } cases[] = {
      {[&] { stores.Get("Bogus"); }, DISP_E_UNKNOWNNAME, "Folders.Bogus"},
      {[&] { stores.Get("Item", "No such store"); }, static_cast<HRESULT>(0x8004010F),
       "Folders.Item: The attempted operation failed.  An object could not be found. "
       "(0x8004010F)"},
      {[&] { stores.GetObject("Item", 1).Put("Name", Variant("renamed")); },
       DISP_E_MEMBERNOTFOUND, "Item.Name"},
  };
  for (const auto& test : cases) {
    try {
      test.call();
      ADD_FAILURE() << "no error: " << test.words;
    } catch (const ComError& error) {
      EXPECT_EQ(error.Code(), test.code) << test.words;
      EXPECT_NE(std::string(error.what()).find(test.words), std::string::npos) << error.what();
    }
  }
}

// Outlook takes a left-out argument as its default, and an argument by
// reference as its value, as a script passes them.
TEST_F(ComDispatchTest, ArgumentsLeftOutOrByReference) {
  test::ScratchDir directory;
  const Variant path(directory.File("by reference.msg"));
  Variant by_reference;
  VARIANT* slot = by_reference.put();
  slot->vt = VT_VARIANT | VT_BYREF;
  slot->pvarVal = const_cast<VARIANT*>(&path.get());
  Dispatch::Create("Outlook.Application").GetObject("GetNamespace", "MAPI")
      .GetObject("GetItemFromID", "00000000A1000001")
      .Call("SaveAs", by_reference, Variant::Missing());
  EXPECT_NE(testing::ReadFileText(directory.File("by reference.msg")).find("type=3"),
            std::string::npos);
}

TEST(ComValueTest, ConvertsAsAutomationDoesAndRefusesNonsense) {
  const std::string text = "Zoë ☃ 😀 \\\\Postfach";
  EXPECT_EQ(Bstr(text).ToUtf8(), text);
  EXPECT_EQ(BstrToUtf8(nullptr), "");
  EXPECT_EQ(Variant(text).Copy().ToUtf8("copy"), text);
  EXPECT_EQ(Variant(std::int32_t{42}).ToUtf8("number"), "42");
  EXPECT_EQ(Variant("17").ToInt32("text"), 17);
  EXPECT_FALSE(Variant(std::int32_t{0}).ToBool("number"));
  EXPECT_THROW(Variant("not a number").ToInt32("text"), ComError);
  // A date is never read from text: that would follow the locale's rules.
  EXPECT_THROW(Variant("2009-12-05").ToDate("text"), ComError);
  EXPECT_THROW(Variant(std::int32_t{1}).ToDispatch("number"), ComError);
  EXPECT_FALSE(Variant().ToDispatch("nothing"));
}

}  // namespace
}  // namespace qs::win32

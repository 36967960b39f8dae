// The COM helpers, against the fake Outlook as the automation server.

#include "platform/win32/com_dispatch.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_outlook_registration.h"
#include "platform/win32/com_error.h"
#include "platform/win32/com_init.h"
#include "tests/common/scratch_dir.h"

namespace qs::win32 {
namespace {

class ComDispatchTest : public ::testing::Test {
 protected:
  Dispatch Namespace() {
    return Dispatch::Create("Outlook.Application").GetObject("GetNamespace", "MAPI");
  }

  ComApartment apartment_ = InitializeCom();
  testing::FakeOutlook outlook_;
};

TEST_F(ComDispatchTest, FailuresNameTheOperationAndKeepTheServersCodeAndWords) {
  const Dispatch stores = Namespace().GetObject("Folders");
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
      {[&] { Variant("not a number").ToInt32("text"); }, DISP_E_TYPEMISMATCH, "text"},
      // A date is never read from text: that would follow the locale's rules.
      {[&] { Variant("2009-12-05").ToDate("text"); }, DISP_E_TYPEMISMATCH, "text"},
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
  EXPECT_EQ(Variant("Zoë ☃ 😀").Copy().ToUtf8("text"), "Zoë ☃ 😀");
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
  Namespace().GetObject("GetItemFromID", "00000000A1000001")
      .Call("SaveAs", by_reference, Variant::Missing());
  EXPECT_NE(testing::ReadFileText(directory.File("by reference.msg")).find("type=3"),
            std::string::npos);
}

}  // namespace
}  // namespace qs::win32

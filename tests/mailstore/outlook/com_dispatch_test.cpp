// The COM helpers, against the fake Outlook as the automation server.

#include "platform/win32/com_dispatch.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_outlook_registration.h"
#include "platform/win32/com_bstr.h"
#include "platform/win32/com_error.h"
#include "platform/win32/com_init.h"

namespace qs::win32 {
namespace {

using testing::FakeOutlook;

class ComDispatchTest : public ::testing::Test {
 protected:
  Dispatch Namespace() {
    return Dispatch::Create("Outlook.Application").GetObject("GetNamespace", "MAPI");
  }

  ComApartment apartment_ = InitializeCom();
  FakeOutlook outlook_;
};

TEST_F(ComDispatchTest, LooksEachNameUpOncePerCache) {
  {
    const Dispatch stores = Namespace().GetObject("Folders");
    outlook_.ResetCounts();
    EXPECT_EQ(stores.Get("Count").ToInt32("Count"), 2);
    EXPECT_EQ(stores.Get("count").ToInt32("Count"), 2);  // names know no case
    EXPECT_EQ(stores.Get("COUNT").ToInt32("Count"), 2);
    EXPECT_EQ(outlook_.Lookups(), 1);
    EXPECT_EQ(outlook_.Calls(), 4);

    // Objects of one kind share what was looked up.
    const auto folders = std::make_shared<DispIdCache>("MAPIFolder");
    const Dispatch first = stores.GetObject(folders, "Item", 1);
    const Dispatch second = stores.GetObject(folders, "Item", 2);
    outlook_.ResetCounts();
    EXPECT_EQ(first.Get("Name").ToUtf8("Name"), "Postfach Zoë");
    EXPECT_EQ(second.Get("Name").ToUtf8("Name"), "Архив");
    EXPECT_EQ(outlook_.Lookups(), 1);
    EXPECT_EQ(folders->Size(), 1u);
  }
  EXPECT_EQ(outlook_.LiveObjects(), 0);
}

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
  testing::TempDirectory directory;
  const Variant path(directory.Path() + "by reference.msg");
  Variant by_reference;
  VARIANT* slot = by_reference.put();
  slot->vt = VT_VARIANT | VT_BYREF;
  slot->pvarVal = const_cast<VARIANT*>(&path.get());
  const Dispatch item = Namespace().GetObject("GetItemFromID", "00000000A1000001");
  item.Call("SaveAs", by_reference, Variant::Missing());
  EXPECT_NE(testing::ReadFileText(directory.Path() + "by reference.msg").find("type=3"),
            std::string::npos);
}

TEST_F(ComDispatchTest, PropertyPutToAReadOnlyMemberFails) {
  const Dispatch folder = Namespace().GetObject("Folders").GetObject("Item", 1);
  EXPECT_THROW(folder.Put("Name", Variant("renamed")), ComError);
  EXPECT_EQ(folder.Get("Name").ToUtf8("Name"), "Postfach Zoë");
}

TEST_F(ComDispatchTest, QueryFindsOnlyWhatTheObjectHas) {
  const Dispatch application = Dispatch::Create("Outlook.Application");
  ComPtr<IDispatch> object = application.GetObject("GetNamespace", "MAPI").Get("Folders")
                                 .ToDispatch("Folders");
  EXPECT_TRUE(object.try_query<IUnknown>());
  EXPECT_FALSE(object.try_query<IEnumVARIANT>());
  try {
    object.query<IEnumVARIANT>("Folders as enumerator");
    FAIL() << "no error";
  } catch (const ComError& error) {
    EXPECT_EQ(error.Code(), E_NOINTERFACE);
  }
}

TEST(ComValueTest, TextSurvivesTheTripThroughBstrAndVariant) {
  const std::string text = "Zoë ☃ 😀 \\\\Postfach";
  EXPECT_EQ(Bstr(text).ToUtf8(), text);
  EXPECT_EQ(Bstr("").ToUtf8(), "");
  EXPECT_EQ(BstrToUtf8(nullptr), "");
  EXPECT_EQ(Variant(text).ToUtf8("text"), text);
  Variant copy = Variant(text).Copy();
  EXPECT_EQ(copy.ToUtf8("copy"), text);
}

TEST(ComValueTest, ConvertsAsAutomationDoesAndRefusesNonsense) {
  EXPECT_EQ(Variant(std::int32_t{42}).ToUtf8("number"), "42");
  EXPECT_EQ(Variant("17").ToInt32("text"), 17);
  EXPECT_TRUE(Variant(true).ToBool("flag"));
  EXPECT_FALSE(Variant(std::int32_t{0}).ToBool("number"));
  EXPECT_EQ(Variant::Date(2.5).ToDate("date"), 2.5);
  EXPECT_THROW(Variant("not a number").ToInt32("text"), ComError);
  // A date is never read from text: that would follow the locale's rules.
  EXPECT_THROW(Variant("2009-12-05").ToDate("text"), ComError);
  EXPECT_THROW(Variant(std::int32_t{1}).ToDispatch("number"), ComError);
  EXPECT_FALSE(Variant().ToDispatch("nothing"));
  EXPECT_EQ(Variant().ToUtf8("nothing"), "");
}

TEST(ComApartmentTest, NestedGuardsLeaveTheOuterApartmentInPlace) {
  ComApartment outer = InitializeCom();
  {
    ComApartment inner = InitializeCom();
    ComApartment moved = std::move(inner);
  }
  // Still initialised: creating an object works.
  IUnknown* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IUnknown, reinterpret_cast<void**>(&object)),
            S_OK);
  if (object) object->Release();
}

}  // namespace
}  // namespace qs::win32

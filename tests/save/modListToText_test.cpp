#include "save/modListToText.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

class Export : public ::testing::Test {
 protected:
  std::string Run(const std::string& format, const std::string& settings_file = {}) {
    ListToText(fixture.app, fixture.list, {format, settings_file}, target);
    return scratch.Read("list.txt");
  }

  test::ListFixture fixture;
  test::ScratchDir scratch;
  std::vector<std::string> opened;
  ExportTarget target{scratch.File("list.txt"),
                      [this](const std::string& path) { opened.push_back(path); }};
};

TEST_F(Export, WritesOneLinePerRowReplacingTheFileAndOpensIt) {
  EXPECT_EQ(Run("%1"), "") << "an empty list gives an empty file";
  fixture.Add({});
  test::Row second;
  second.sent = MakeDateTime(2009, 12, 6, 10, 10, 10);
  second.from = "sender2";
  second.subject = "100% sure: %5";
  fixture.Add(second);
  EXPECT_EQ(Run("%1 %2 %3"),
            "091205 070309 sender1 Re: hello?\r\n"
            "091206 101010 sender2 100% sure: 091205 070310\r\n");
  fixture.list.Start({});
  fixture.Add({});
  EXPECT_EQ(Run("%2"), "sender1\r\n");
  EXPECT_EQ(opened, std::vector<std::string>(3, target.path));
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(Export, AnUnwritableTargetGivesWayToTheSettingsFilesDirectory) {
  fixture.Add({});
  const std::string unwritable = scratch.Unwritable("list.txt");
  target.path = unwritable;
  EXPECT_EQ(Run("%2", scratch.File("Quillstow.ini")), "sender1\r\n");
  EXPECT_EQ(opened, std::vector<std::string>{scratch.File("list.txt")});
  EXPECT_TRUE(fixture.Messages().empty());
  // Without a settings file the target is named; with both unwritable, both are.
  Run("%2");
  Run("%2", scratch.Unwritable("sub") + PathSeparator() + "q.ini");
  ASSERT_EQ(fixture.Messages().size(), 2u);
  EXPECT_EQ(fixture.Messages()[0], "The list could not be written to " + unwritable + ".");
  EXPECT_NE(fixture.Messages()[1].find(unwritable + " nor to "), std::string::npos);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_FALSE(fixture.app.FailureShown());
}

TEST_F(Export, AnEditorThatCannotStartIsReported) {
  target.open = [](const std::string&) {
    throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory));
  };
  Run("%1");
  ASSERT_EQ(fixture.Messages().size(), 1u);
  EXPECT_NE(fixture.Messages()[0].find(target.path), std::string::npos);
}

}  // namespace
}  // namespace qs

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
  ExportTarget target{scratch.File("list.txt"), [this](const std::string& path) { opened.push_back(path); }};
};

// One line per row, the file replaced each time and opened, also empty.
TEST_F(Export, WritesOneLinePerRowReplacingTheFileAndOpensIt) {
  EXPECT_EQ(Run("%1"), "");
  fixture.list.Add(test::Row());
  // %1 to %8 are filled in turn, then "%%" becomes "%".
  EXPECT_EQ(Run("%%1|%10|%0 %9 % %x|%%%%|%6 %7"),
            "%091205 070309|091205 0703090|%0 %9 % %x|%%|00000000A1 \\\\Mailbox\\Inbox\r\n");
  test::Row second;
  second.from = "sender2";
  second.subject = "100% sure: %5";
  fixture.list.Add(second);
  EXPECT_EQ(
      Run("%1 %2 %3"),
      "091205 070309 sender1 Re: hello?\r\n091205 070309 sender2 100% sure: 091205 070310\r\n");
  fixture.list.Start({});
  fixture.list.Add(test::Row());
  EXPECT_EQ(Run("%2"), "sender1\r\n");
  EXPECT_EQ(opened, std::vector<std::string>(4, target.path));
  EXPECT_TRUE(fixture.Messages().empty());
}

// An unwritable target gives way to the settings file's directory; without
// one the target is named, and with both unwritable both are.
TEST_F(Export, AnUnwritableTargetGivesWayToTheSettingsFilesDirectory) {
  fixture.list.Add(test::Row());
  target.path = scratch.Unwritable("list.txt");
  EXPECT_EQ(Run("%2", scratch.File("Quillstow.ini")), "sender1\r\n");
  EXPECT_EQ(opened, std::vector<std::string>{scratch.File("list.txt")});
  Run("%2");
  Run("%2", scratch.Unwritable("sub") + PathSeparator() + "q.ini");
  EXPECT_EQ(fixture.Messages().size(), 2u);
  EXPECT_EQ(fixture.Messages().at(0), "The list could not be written to " + target.path + ".");
  EXPECT_NE(fixture.Messages().at(1).find(target.path + " nor to "), std::string::npos);
  target.open = [](const std::string&) {
    throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory));
  };
  target.path = scratch.File("list.txt");
  Run("%1");
  EXPECT_NE(fixture.Messages().at(2).find(target.path), std::string::npos)
      << "an editor that cannot start is named";
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_FALSE(fixture.app.FailureShown());
}

}  // namespace
}  // namespace qs

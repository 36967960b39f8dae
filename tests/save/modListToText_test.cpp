#include "save/modListToText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "list_fixture.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

class Export : public ::testing::Test {
 protected:
  std::string Run(const std::string& format) {
    ExportOptions settings;
    settings.text_format = format;
    ListToText(fixture.app, fixture.list, settings, target);
    return Contents();
  }
  std::string Contents() const {
    std::ifstream file(test::FromUtf8(target.path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  test::ListFixture fixture;
  test::ScratchDir scratch;
  std::vector<std::string> opened;
  ExportTarget target{scratch.File("list.txt"),
                      [this](const std::string& path) { opened.push_back(path); }};
};

TEST_F(Export, WritesOneLinePerRowAndOpensTheFile) {
  fixture.Add({});
  test::Row second;
  second.sent = MakeDateTime(2009, 12, 6, 10, 10, 10);
  second.from = "sender2";
  second.subject = "100% sure: %5";
  fixture.Add(second);
  EXPECT_EQ(Run("%1 %2 %3"),
            "091205 070309 sender1 Re: hello?\r\n"
            "091206 101010 sender2 100% sure: 091205 070310\r\n");
  EXPECT_EQ(opened, std::vector<std::string>{target.path});
  EXPECT_TRUE(fixture.Messages().empty());
}

TEST_F(Export, TrickyFormats) {
  fixture.Add({});
  EXPECT_EQ(Run("%%1"), "%091205 070309\r\n");
  EXPECT_EQ(Run("%10|%0|%9|%"), "091205 0703090|%0|%9|%\r\n");
  EXPECT_EQ(Run(""), "\r\n");
  EXPECT_EQ(Run("%6 %7"), "id1 \\\\Mailbox\\Inbox\r\n");
}

TEST_F(Export, AnEmptyListGivesAnEmptyFileThatStillOpens) {
  EXPECT_EQ(Run("%1"), "");
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(Export, ASecondExportReplacesTheFirst) {
  for (int i = 0; i < 5; ++i) fixture.Add({});
  Run("%1 %2 %3 %4 %5");
  fixture.list.Start({});
  fixture.Add({});
  EXPECT_EQ(Run("%2"), "sender1\r\n");
}

TEST_F(Export, AFileThatCannotBeWrittenIsNamedAndNotOpened) {
  fixture.Add({});
  WriteWholeFile(scratch.File("file"), "x");
  target.path = scratch.File("file") + PathSeparator() + "list.txt";
  ExportOptions settings;
  ListToText(fixture.app, fixture.list, settings, target);
  EXPECT_EQ(fixture.Messages(),
            std::vector<std::string>{"The list could not be written to " + target.path + "."});
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(fixture.app.FailureShown());
}

TEST_F(Export, AnUnwritableTargetGivesWayToTheSettingsFilesDirectory) {
  fixture.Add({});
  WriteWholeFile(scratch.File("file"), "x");
  const std::string unwritable = scratch.File("file") + PathSeparator() + "list.txt";
  target.path = unwritable;
  ExportOptions settings;
  settings.text_format = "%2";
  settings.settings_file = scratch.File("Quillstow.ini");
  ListToText(fixture.app, fixture.list, settings, target);
  target.path = scratch.File("list.txt");
  EXPECT_EQ(Contents(), "sender1\r\n");
  EXPECT_EQ(opened, std::vector<std::string>{target.path});
  EXPECT_TRUE(fixture.Messages().empty());

  // Both unwritable: both are named.
  settings.settings_file =
      scratch.File("file") + PathSeparator() + "sub" + PathSeparator() + "q.ini";
  target.path = unwritable;
  ListToText(fixture.app, fixture.list, settings, target);
  ASSERT_EQ(fixture.Messages().size(), 1u);
  EXPECT_NE(fixture.Messages()[0].find(unwritable + " nor to "), std::string::npos);
}

TEST_F(Export, AnEditorThatCannotStartIsReported) {
  target.open = [](const std::string&) {
    throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory));
  };
  Run("%1");
  ASSERT_EQ(fixture.Messages().size(), 1u);
  EXPECT_NE(fixture.Messages()[0].find(target.path), std::string::npos);
}

TEST_F(Export, TextHasNoByteOrderMarkAndPlainTextStaysAsItIs) {
  test::Row row;
  row.subject = "caf\xC3\xA9";
  fixture.Add(row);
  const std::string text = Run("%3");
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(0, 3), "caf");
  // UTF-8, a single-byte code page, or "?" where the code page has no e-acute.
  EXPECT_TRUE(text == "caf\xC3\xA9\r\n" || text == "caf\xE9\r\n" || text == "caf?\r\n") << text;
}

TEST(DefaultExport, IsListTxtBesideTheProgram) {
  EXPECT_EQ(DefaultExportTarget().path, ProgramDirectory() + PathSeparator() + "list.txt");
}

}  // namespace
}  // namespace qs

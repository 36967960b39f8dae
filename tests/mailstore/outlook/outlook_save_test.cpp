// A whole save run over the fake Outlook: the rows a search listed are
// fetched again by their entry identifiers and written in every format.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "fake_outlook_registration.h"
#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "platform/win32/utf16.h"
#include "save/modSaveListedItems.h"
#include "tests/mailstore/window_harness.h"

namespace qs {
namespace {

namespace fs = std::filesystem;
using testing::FakeOutlook;

const char kInbox[] = "\\\\Postfach Zoë\\Inbox";

class OutlookSaveTest : public ::testing::Test {
 protected:
  void SearchInbox() {
    SearchMailFolder(window_.app, OpenMailStore, kInbox, window_.list,
                     {"", "", "yyyymmdd hhnnss"});
    ASSERT_EQ(window_.list.RowCount(), 4);
  }
  void Save(const std::string& format) {
    SaveListedItems(window_.app, OpenMailStore, kInbox, window_.list, dir_.Path(),
                    {"%1 %3", format, true, "50", "50"});
    EXPECT_EQ(outlook_.LiveObjects(), 0) << "objects of Outlook still held after the save";
  }
  // Every file below the save directory, by its path relative to it, with
  // the first line of its content.
  std::map<std::string, std::string> Written() const {
    std::map<std::string, std::string> files;
    const fs::path root(win32::ToUtf16(dir_.Path()));
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path());
      std::string first, second;
      std::getline(in, first);
      std::getline(in, second);
      if (!second.empty() && second.back() == '\r') second.pop_back();
      files[win32::ToUtf8(fs::relative(entry.path(), root).wstring())] = second;
    }
    return files;
  }

  FakeOutlook outlook_;
  testing::WindowHarness window_;
  testing::TempDirectory dir_;
};

TEST_F(OutlookSaveTest, MessageFilesAreUnicodeAndRepeatTheFolderTree) {
  SearchInbox();
  Save("MSG");
  EXPECT_TRUE(window_.Messages().empty());
  const auto files = Written();
  ASSERT_EQ(files.size(), 4u);
  for (const auto& [name, type] : files) {
    EXPECT_EQ(name.substr(name.size() - 4), ".msg") << name;
    EXPECT_EQ(type, "type=9") << name << " is not a Unicode message file";
  }
  EXPECT_EQ(files.count("20091205 070309 Re  hello .msg"), 1u) << "the ? is cleaned away";
  bool below = false;
  for (const auto& [name, type] : files)
    below = below || name.rfind("Projekte Ü\\2009 — Q4\\", 0) == 0;
  EXPECT_TRUE(below) << "an item of a subfolder is saved below its folder's directory";
}

TEST_F(OutlookSaveTest, DirectoriesHoldTheMessageAndItsAttachments) {
  SearchInbox();
  Save("DIR");
  const auto files = Written();
  // A directory name keeps no blank at its end.
  const std::string item = "20091205 070309 Re  hello\\";
  EXPECT_EQ(files.count(item + "message.txt"), 1u);
  EXPECT_EQ(files.count(item + "message.html"), 1u);
  EXPECT_EQ(files.count(item + "attachments\\report.pdf"), 1u);
  EXPECT_EQ(files.count(item + "attachments\\notes ü.txt"), 1u);
  EXPECT_TRUE(window_.Messages().empty());
}

TEST_F(OutlookSaveTest, AnItemDeletedAfterTheSearchIsTheOneNotSaved) {
  SearchInbox();
  ASSERT_TRUE(outlook_.Delete(L"00000000A1000003"));
  Save("MSG");
  EXPECT_EQ(window_.Messages(), std::vector<std::string>{"1 of 4 emails could not be saved."});
  EXPECT_EQ(Written().size(), 3u);
  EXPECT_TRUE(window_.app.FailureShown());
}

}  // namespace
}  // namespace qs

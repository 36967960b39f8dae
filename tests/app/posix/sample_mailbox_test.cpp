// The program end to end on Linux: the console drives the main window over
// the sample mailbox, and a helper program named in the user's registry file
// is started around the search.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../console_session.h"
#include "app/program.h"

namespace qs {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<std::string>> Rows(const std::string& printed) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    if (line.find('\t') == std::string::npos) continue;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

class SampleMailbox : public ::testing::Test {
 protected:
  SampleMailbox() {
    scratch = fs::temp_directory_path() /
              ("qs-app-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(scratch / "quillstow");
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    unsetenv("QUILLSTOW_MAILROOT");
  }
  ~SampleMailbox() override {
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(scratch);
  }
  fs::path scratch;
};

TEST_F(SampleMailbox, SearchListsTheFolderTreeDepthFirst) {
  testing::ConsoleSession session("txtMailFolder=\\\\Mailbox\\Inbox\ncmdSearch\nprint\n");
  EXPECT_EQ(RunProgram(session.windows, ""), 0);
  const auto rows = Rows(session.out.str());
  ASSERT_GE(rows.size(), 5u) << session.out.str();
  std::vector<std::string> folders;
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[6].rfind("\\\\Mailbox\\Inbox", 0), 0u) << row[6];
    if (folders.empty() || folders.back() != row[6]) folders.push_back(row[6]);
  }
  EXPECT_EQ(folders.front(), "\\\\Mailbox\\Inbox") << "the folder's own items come first";
  for (std::size_t i = 0; i < folders.size(); ++i)
    for (std::size_t j = i + 1; j < folders.size(); ++j)
      EXPECT_NE(folders[i], folders[j]) << "each folder is walked once, as one block";
  EXPECT_TRUE(session.windows.BoxesShown().empty());
}

TEST_F(SampleMailbox, DateWindowAndFormatAreReadWhenTheSearchStarts) {
  testing::ConsoleSession session(
      "txtMailFolder=\\\\Mailbox\nDateFormat=yyyy-mm-dd\ntxtSince=01/01/2100\ncmdSearch\nprint\n"
      "txtSince=\ncmdSearch\nprint\n");
  EXPECT_EQ(RunProgram(session.windows, ""), 0);
  const std::string printed = session.out.str();
  const auto second_print = printed.find("txtMailFolder=", printed.find("txtMailFolder=") + 1);
  EXPECT_TRUE(Rows(printed.substr(0, second_print)).empty()) << "nothing is newer than 2100";
  const auto rows = Rows(printed.substr(second_print));
  ASSERT_FALSE(rows.empty());
  for (const auto& row : rows) EXPECT_EQ(row[0].size(), 10u) << row[0] << " is not yyyy-mm-dd";
}

TEST_F(SampleMailbox, HelperProgramIsStartedBeforeAndAfterTheSearch) {
  const fs::path log = scratch / "helper.log";
  const fs::path helper = scratch / "helper.sh";
  std::ofstream(helper) << "#!/bin/sh\necho \"$*\" >> '" << log.string() << "'\n";
  fs::permissions(helper, fs::perms::owner_all);
  std::ofstream(scratch / "quillstow" / "registry.txt")
      << "[HKEY_CURRENT_USER\\Software\\Orrinwick\\Quillstow]\n"
      << "AccessProg=HKCU\\Software\\Helper\\Path\n"
      << "AllowAccess=--allow \"two words\"\n"
      << "DisallowAccess=--disallow\n"
      << "[HKCU\\Software\\Helper]\n"
      << "Path=" << helper.string() << "\n";
  // A folder that does not exist: the helper is told to disallow all the same.
  testing::ConsoleSession session("txtMailFolder=\\\\Nowhere\ncmdSearch\n");
  EXPECT_EQ(RunProgram(session.windows, ""), 0) << "an interactive run ends normally";

  std::vector<std::string> lines;
  for (int wait = 0; wait < 400 && lines.size() < 2; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    lines.clear();
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  // The two helpers run side by side, unwaited for: which one writes first
  // is up to the system, so only what each was given is compared.
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"--allow two words", "--disallow"}));
}

}  // namespace
}  // namespace qs

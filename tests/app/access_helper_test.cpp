#include "app/access_helper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "platform/system.h"
#include "tests/app/registry_fixture.h"

namespace qs {
namespace {

const std::string kKey = "Software\\Orrinwick\\Quillstow";

class AccessHelperSettings : public ::testing::Test {
 protected:
  AccessHelperSettings() {
    std::filesystem::create_directories(dir);
    const auto file = (dir / "registry.txt").u8string();
    registry = RegistryInFile(std::string(file.begin(), file.end()));
  }
  ~AccessHelperSettings() override { std::filesystem::remove_all(dir); }
  void Set(const std::string& key, const std::string& name, const std::string& text) {
    ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, key, name, text));
  }

  std::filesystem::path dir = std::filesystem::temp_directory_path() / "qs-access-helper";
  std::unique_ptr<Registry> registry;
};

TEST_F(AccessHelperSettings, NoAccessProgMeansNoHelperAndTheTextsAreNotRead) {
  Set(kKey, "AllowAccess", "/allow");
  Set(kKey, "DisallowAccess", "/disallow");
  AccessHelper helper = AccessHelper::FromRegistry(*registry);
  EXPECT_EQ(helper.AccessProgPath, "");
  EXPECT_EQ(helper.AllowAccessArgs, "");
  Set(kKey, "AccessProg", "");
  helper = AccessHelper::FromRegistry(*registry);
  EXPECT_EQ(helper.AccessProgPath, "");
  EXPECT_EQ(helper.DisallowAccessArgs, "");
}

TEST_F(AccessHelperSettings, AccessProgNamesTheValueThatHoldsThePath) {
  Set(kKey, "AccessProg", "hkcu\\Software\\Helper\\Path");
  Set("Software\\Helper", "Path", "C:\\Program Files\\Helper\\h.exe");
  Set(kKey, "AllowAccess", "/allow");
  Set(kKey, "DisallowAccess", "/disallow now");
  const AccessHelper helper = AccessHelper::FromRegistry(*registry);
  EXPECT_EQ(helper.AccessProgPath, "C:\\Program Files\\Helper\\h.exe");
  EXPECT_EQ(helper.AllowAccessArgs, "/allow");
  EXPECT_EQ(helper.DisallowAccessArgs, "/disallow now");
}

TEST_F(AccessHelperSettings, APlainFilePathInAccessProgIsNoHelper) {
  Set(kKey, "AccessProg", "C:\\Tools\\helper.exe");
  Set(kKey, "AllowAccess", "/allow");
  const AccessHelper helper = AccessHelper::FromRegistry(*registry);
  EXPECT_EQ(helper.AccessProgPath, "");
  EXPECT_EQ(helper.AllowAccessArgs, "/allow");
}

TEST(AccessHelperStart, CommandLineIsTheQuotedPathASpaceAndTheText) {
  const AccessHelper helper("C:\\Program Files\\Helper\\h.exe", "/allow \"two words\" x", "");
  const ProgramStart allow = helper.StartFor(helper.AllowAccessArgs);
  EXPECT_EQ(allow.command_line, "\"C:\\Program Files\\Helper\\h.exe\" /allow \"two words\" x");
  EXPECT_EQ(allow.program, "C:\\Program Files\\Helper\\h.exe");
  EXPECT_EQ(allow.arguments, (std::vector<std::string>{"/allow", "two words", "x"}));
  EXPECT_EQ(allow.show, WindowShow::MinimizedActive);
  const ProgramStart disallow = helper.StartFor(helper.DisallowAccessArgs);
  EXPECT_EQ(disallow.command_line, "\"C:\\Program Files\\Helper\\h.exe\" ");
  EXPECT_TRUE(disallow.arguments.empty());
}

class AccessHelperRun : public ::testing::Test {
 protected:
  AccessHelperRun() {
    std::filesystem::create_directories(dir);
    app.SetDebugLevel(1);
  }
  ~AccessHelperRun() override { std::filesystem::remove_all(dir); }

  // A helper that appends its argument to a file: the shell here, the
  // command processor on Windows.
  AccessHelper Recorder() const {
    const auto path = (dir / "calls.txt").u8string();
    const std::string file(path.begin(), path.end());
    if (PathSeparator() == '/')
      return AccessHelper("/bin/sh", "-c \"echo allow >> '" + file + "'\"",
                          "-c \"echo disallow >> '" + file + "'\"");
    return AccessHelper("C:\\windows\\system32\\cmd.exe", "/c echo allow>>\"" + file + "\"",
                        "/c echo disallow>>\"" + file + "\"");
  }
  // The file's lines once it holds count of them, or what it holds after 20 s.
  std::vector<std::string> Calls(std::size_t count) const {
    std::vector<std::string> lines;
    for (int wait = 0; wait < 200; ++wait) {
      lines.clear();
      std::ifstream calls(dir / "calls.txt");
      for (std::string line; std::getline(calls, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        lines.push_back(line);
      }
      if (lines.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return lines;
  }

  std::filesystem::path dir = std::filesystem::temp_directory_path() / "qs-access-run";
  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem ws{in, out, err};
  Application app{ws};
};

TEST_F(AccessHelperRun, StartsTheHelperWithTheAllowAndTheDisallowText) {
  const AccessHelper helper = Recorder();
  helper.RunAccessAllow(app);
  EXPECT_EQ(Calls(1), std::vector<std::string>{"allow"});
  helper.RunAccessDisallow(app);
  EXPECT_EQ(Calls(2), (std::vector<std::string>{"allow", "disallow"}));
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_F(AccessHelperRun, AHelperThatCannotStartIsReportedOnlyInTheDebugOutput) {
  const auto missing = (dir / "no-such-helper.exe").u8string();
  const AccessHelper helper(std::string(missing.begin(), missing.end()), "/allow", "/disallow");
  EXPECT_NO_THROW(helper.RunAccessAllow(app));
  EXPECT_TRUE(ws.BoxesShown().empty());
  EXPECT_NE(err.str().find("access helper not started"), std::string::npos) << err.str();
}

TEST_F(AccessHelperRun, NoHelperStartsNothing) {
  const AccessHelper helper;
  helper.RunAccessAllow(app);
  helper.RunAccessDisallow(app);
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace qs

// Where the settings file lives on Linux, and how its directory is made.

#include "platform/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "platform/system.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

namespace fs = std::filesystem;

using Environment = testing::ScopedEnvironment;

TEST(DefaultSettingsFile, TheUserConfigurationDirectoryUnlessACopyIsBesideTheProgram) {
  struct Case {
    std::optional<std::string> xdg;
    std::optional<std::string> home;
    std::string expected;
  };
  const Case cases[] = {
      {"/cfg", "/home/u", "/cfg/quillstow/t.ini"},
      {"relative", "/home/u", "/home/u/.config/quillstow/t.ini"},
      {"", "/home/u", "/home/u/.config/quillstow/t.ini"},
      {std::nullopt, "/home/u", "/home/u/.config/quillstow/t.ini"},
  };
  for (const Case& c : cases) {
    Environment xdg("XDG_CONFIG_HOME", c.xdg), home("HOME", c.home);
    EXPECT_EQ(DefaultSettingsFile("t.ini"), c.expected) << c.xdg.value_or("unset");
  }

  // A file of that name beside the program wins, wherever the user's
  // directory is.
  const std::string name = "settings-test-" + std::to_string(getpid()) + ".ini";
  const std::string beside = ProgramDirectory() + "/" + name;
  std::ofstream(beside) << "[Options]\n";
  Environment xdg("XDG_CONFIG_HOME", "/cfg");
  EXPECT_EQ(DefaultSettingsFile(name), beside);
  fs::remove(beside);
  EXPECT_EQ(DefaultSettingsFile(name), "/cfg/quillstow/" + name);
}

class SettingsDirectory : public ::testing::Test {
 protected:
  // Points XDG_CONFIG_HOME at config and makes the directory of the default
  // settings file; the failure's text, or nothing when it was made.
  std::optional<std::string> Make(const fs::path& config) {
    Environment xdg("XDG_CONFIG_HOME", config.string());
    try {
      MakeSettingsDirectory((config / "quillstow" / "Quillstow.ini").string());
      return std::nullopt;
    } catch (const std::system_error& error) {
      return std::string(error.what());
    }
  }
  test::ScratchDir scratch;
};

TEST_F(SettingsDirectory, IsMadeWithTheConfigurationDirectoryForTheUserAlone) {
  const fs::path config = scratch.Path() / "config";
  ASSERT_EQ(Make(config), std::nullopt);
  struct stat status {};
  ASSERT_EQ(::lstat((config / "quillstow").c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(Make(config), std::nullopt) << "an existing directory is used as it is";
  // The user's configuration directory may itself be a link.
  fs::create_directory_symlink(config, scratch.Path() / "linked");
  EXPECT_EQ(Make(scratch.Path() / "linked"), std::nullopt);
}

TEST_F(SettingsDirectory, WhatIsInItsPlaceIsRefusedByName) {
  const fs::path elsewhere = scratch.Path() / "elsewhere";
  fs::create_directory(elsewhere);
  struct Case {
    const char* what;
    void (*plant)(const fs::path& config, const fs::path& elsewhere);
    const char* reason;
  };
  const Case cases[] = {
      {"a link to another directory",
       [](const fs::path& config, const fs::path& target) {
         fs::create_directory(config);
         fs::create_directory_symlink(target, config / "quillstow");
       },
       "symbolic link"},
      {"a file",
       [](const fs::path& config, const fs::path&) {
         fs::create_directory(config);
         std::ofstream(config / "quillstow") << "x";
       },
       "no directory"},
      {"a file in place of the configuration directory",
       [](const fs::path& config, const fs::path&) { std::ofstream(config) << "x"; }, ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    const fs::path config = scratch.Path() / ("config" + std::to_string(n++));
    c.plant(config, elsewhere);
    const auto failure = Make(config);
    ASSERT_TRUE(failure) << c.what;
    EXPECT_NE(failure->find("cannot make the settings directory " + config.string()),
              std::string::npos)
        << *failure;
    EXPECT_NE(failure->find(c.reason), std::string::npos) << *failure;
  }
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(SettingsDirectory, ANamedFileElsewhereMakesNothing) {
  Environment xdg("XDG_CONFIG_HOME", (scratch.Path() / "config").string());
  MakeSettingsDirectory((scratch.Path() / "other" / "Quillstow.ini").string());
  MakeSettingsDirectory((scratch.Path() / "config" / "other" / "Quillstow.ini").string());
  EXPECT_TRUE(fs::is_empty(scratch.Path()));
}

}  // namespace
}  // namespace qs

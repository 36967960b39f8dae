// Where the settings file lives on Linux, and how its directory is made.

#include "platform/settings_file.h"

#include <gtest/gtest.h>
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

// The user's configuration directory (an absolute XDG_CONFIG_HOME, else
// ~/.config), unless a file of that name is beside the program.
TEST(DefaultSettingsFile, TheUserConfigurationDirectoryUnlessACopyIsBesideTheProgram) {
  const std::optional<std::string> home_config = "/home/u/.config/quillstow/t.ini";
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {"/cfg", "/cfg/quillstow/t.ini"}, {"relative", *home_config}, {"", *home_config}, {std::nullopt, *home_config}};
  for (const auto& [xdg_config_home, expected] : cases) {
    Environment xdg("XDG_CONFIG_HOME", xdg_config_home), home("HOME", "/home/u");
    EXPECT_EQ(DefaultSettingsFile("t.ini"), expected) << xdg_config_home.value_or("unset");
  }
  const std::string name = "settings-test-" + std::to_string(getpid()) + ".ini";
  const std::string beside = ProgramDirectory() + "/" + name;
  std::ofstream(beside) << "[Options]\n";
  Environment xdg("XDG_CONFIG_HOME", "/cfg");
  EXPECT_EQ(DefaultSettingsFile(name), beside);
  fs::remove(beside);
  EXPECT_EQ(DefaultSettingsFile(name), "/cfg/quillstow/" + name);
}

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

// Made for the user alone, below a configuration directory that may be a
// link; what is in its place is refused by name, and a named file elsewhere
// makes nothing.
TEST(SettingsDirectory, IsMadeForTheUserAloneAndNothingElseIsUsed) {
  test::ScratchDir scratch;
  const fs::path config = scratch.Path() / "config";
  ASSERT_EQ(Make(config), std::nullopt);
  struct stat status {};
  ASSERT_EQ(::lstat((config / "quillstow").c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(Make(config), std::nullopt) << "an existing directory is used as it is";
  fs::create_directory_symlink(config, scratch.Path() / "linked");
  EXPECT_EQ(Make(scratch.Path() / "linked"), std::nullopt);

  fs::create_directories(scratch.Path() / "link/config");
  fs::create_directories(scratch.Path() / "target");
  fs::create_directory_symlink(scratch.Path() / "target", scratch.Path() / "link/config/quillstow");
  fs::create_directories(scratch.Path() / "file/config");
  scratch.Write("file/config/quillstow", "x");
  scratch.Write("plain", "x");
  const std::pair<const char*, const char*> refused[] = {
      {"link/config", "symbolic link"}, {"file/config", "no directory"}, {"plain", ""}};
  for (const auto& [place, reason] : refused) {
    const auto failure = Make(scratch.Path() / place);
    ASSERT_TRUE(failure) << place;
    EXPECT_NE(failure->find("cannot make the settings directory " + (scratch.Path() / place).string()),
              std::string::npos) << *failure;
    EXPECT_NE(failure->find(reason), std::string::npos) << *failure;
  }
  Environment xdg("XDG_CONFIG_HOME", (scratch.Path() / "elsewhere").string());
  MakeSettingsDirectory((scratch.Path() / "other" / "Quillstow.ini").string());
  EXPECT_FALSE(fs::exists(scratch.Path() / "other"));
  EXPECT_TRUE(fs::is_empty(scratch.Path() / "target"));
}

}  // namespace
}  // namespace qs

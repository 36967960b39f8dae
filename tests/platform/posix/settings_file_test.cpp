// Where the settings file lives on Linux, and how its directory is made.

#include "platform/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/system.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

namespace fs = std::filesystem;
using Environment = testing::ScopedEnvironment;

// In an absolute XDG_CONFIG_HOME, else in ~/.config, unless a file of that
// name is beside the program.
TEST(DefaultSettingsFile, TheUserConfigurationDirectoryUnlessACopyIsBesideTheProgram) {
  Environment home("HOME", "/home/u"), xdg_config_home("XDG_CONFIG_HOME", "relative");
  EXPECT_EQ(DefaultSettingsFile("t.ini"), "/home/u/.config/quillstow/t.ini");
  Environment xdg("XDG_CONFIG_HOME", "/cfg");
  const std::string name = "settings-test-" + std::to_string(::getpid()) + ".ini";
  EXPECT_EQ(DefaultSettingsFile(name), "/cfg/quillstow/" + name);
  std::ofstream(ProgramDirectory() + "/" + name) << "[Options]\n";
  EXPECT_EQ(DefaultSettingsFile(name), ProgramDirectory() + "/" + name);
  fs::remove(ProgramDirectory() + "/" + name);
}

// Points XDG_CONFIG_HOME at config and makes the directory of the default
// settings file; the failure's text, or nothing when it was made.
std::string Make(const fs::path& config) {
  Environment xdg("XDG_CONFIG_HOME", config.string());
  try {
    MakeSettingsDirectory((config / "quillstow" / "Quillstow.ini").string());
    return "";
  } catch (const std::system_error& error) {
    return error.what();
  }
}

// Made for the user alone, below a configuration directory that may be a
// link; what is in its place is refused by name.
TEST(SettingsDirectory, IsMadeForTheUserAloneAndNothingElseIsUsed) {
  test::ScratchDir scratch;
  ASSERT_EQ(Make(scratch.Path() / "config"), "");
  ASSERT_EQ(Make(scratch.Path() / "config"), "") << "an existing directory is used as it is";
  struct stat status {};
  ASSERT_EQ(::lstat((scratch.Path() / "config/quillstow").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u);
  fs::create_directory_symlink(scratch.Path() / "config", scratch.Path() / "linked");
  EXPECT_EQ(Make(scratch.Path() / "linked"), "");
  fs::create_directories(scratch.Path() / "link/config");
  fs::create_directory(scratch.Path() / "target");
  fs::create_directory_symlink(scratch.Path() / "target", scratch.Path() / "link/config/quillstow");
  fs::create_directories(scratch.Path() / "file/config");
  scratch.Write("file/config/quillstow", "x");
  scratch.Write("plain", "x");
  for (const auto& [place, reason] : {std::pair{"link/config", "symbolic link"},
                                      {"file/config", "no directory"},
                                      {"plain", ""}}) {
    const fs::path at = scratch.Path() / place;
    const std::string failure = Make(at);
    EXPECT_NE(failure.find("cannot make the settings directory " + at.string()), std::string::npos) << failure;
    EXPECT_NE(failure.find(reason), std::string::npos) << failure;
  }
  EXPECT_TRUE(fs::is_empty(scratch.Path() / "target"));
}

}  // namespace
}  // namespace qs

// What our own INI writer does with what only POSIX file systems have here:
// FIFOs, symbolic links and permission bits.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/profile.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

namespace fs = std::filesystem;

class OwnIniFileOnPosix : public ::testing::Test {
 protected:
  std::string Read(const std::string& name) const {
    std::ifstream in(dir.Path() / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir.Path() / name, std::ios::binary) << text;
  }

  test::ScratchDir dir;
  std::string file = dir.File("own.ini");
  std::unique_ptr<Profile> profile = OwnProfile();
};

TEST_F(OwnIniFileOnPosix, AFifoInTheFilesPlaceIsNotWaitedOnNorReplaced) {
  ASSERT_EQ(::mkfifo(file.c_str(), 0666), 0);
  EXPECT_EQ(profile->GetString("S", "k", 100, file), "");
  EXPECT_FALSE(profile->WriteString("S", "k", "v", file));
  EXPECT_TRUE(fs::is_fifo(dir.Path() / "own.ini"));
}

TEST_F(OwnIniFileOnPosix, AChainOfLinksLeadsTheWriteToItsEndAndStaysInPlace) {
  fs::create_directory(dir.Path() / "real");
  Write("real/own.ini", "[S]\nk=v\n");
  fs::create_symlink("real/own.ini", dir.Path() / "hop.ini");
  fs::create_symlink(dir.Path() / "hop.ini", dir.Path() / "own.ini");
  ASSERT_TRUE(profile->WriteString("S", "k", "w", file));
  EXPECT_EQ(Read("real/own.ini"), "[S]\nk=w\n");
  EXPECT_EQ(dir.Tree(), (std::set<std::string>{"hop.ini", "own.ini", "real", "real/own.ini"}));
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "own.ini"));
}

TEST_F(OwnIniFileOnPosix, ALinkAtTheOldTemporaryNameIsNotWrittenThrough) {
  Write("own.ini", "[S]\nk=v\n");
  Write("victim", "kept");
  fs::create_symlink(dir.Path() / "victim", dir.Path() / "own.ini.tmp~");
  ASSERT_TRUE(profile->WriteString("S", "k", "w", file));
  EXPECT_EQ(Read("victim"), "kept");
  EXPECT_EQ(Read("own.ini"), "[S]\nk=w\n");
}

TEST_F(OwnIniFileOnPosix, TheFileKeepsItsPermissions) {
  for (const mode_t mode : {0600, 0640, 0664, 0606}) {
    Write("own.ini", "[S]\n");
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    ASSERT_TRUE(profile->WriteString("S", "k", "v", file));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, mode) << std::oct << mode;
  }
}

}  // namespace
}  // namespace qs

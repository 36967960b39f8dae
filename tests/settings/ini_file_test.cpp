// What our own INI writer does to the file, where the system's functions set no rule.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <utility>

#include "platform/profile.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

// The file's read-only mark (on POSIX systems: no write permission for
// anyone), taken off again so that the scratch directory can be removed.
struct ReadOnly {
  explicit ReadOnly(std::filesystem::path path) : file(std::move(path)) {
    Set(std::filesystem::perm_options::remove);
  }
  ~ReadOnly() { Set(std::filesystem::perm_options::add); }
  ReadOnly(const ReadOnly&) = delete;
  ReadOnly& operator=(const ReadOnly&) = delete;
  void Set(std::filesystem::perm_options how) const {
    using std::filesystem::perms;
    std::filesystem::permissions(file, perms::owner_write | perms::group_write | perms::others_write, how);
  }
  std::filesystem::path file;
};

class OwnIniFile : public ::testing::Test {
 protected:
  std::string Read() const { return dir.Read("own.ini"); }
  void Write(const std::string& text) const { dir.Write("own.ini", text); }

  test::ScratchDir dir;
  std::string file = dir.File("own.ini");
  std::unique_ptr<Profile> profile = OwnProfile();
};

TEST_F(OwnIniFile, WritesKeepCommentsBlankLinesAndTheFilesLineEnds) {
  Write("; settings\n[Options]\nUseDate=1\n; note\nSince=\n\n[Tail]\nx=1\n");
  ASSERT_TRUE(profile->WriteString("Options", "since", "2024", file));
  ASSERT_TRUE(profile->WriteString("Options", "Before", "2025", file));
  ASSERT_TRUE(profile->WriteString("Tail", "x", std::nullopt, file));
  EXPECT_EQ(Read(), "; settings\n[Options]\nUseDate=1\n; note\nSince=2024\nBefore=2025\n\n[Tail]\n");
  Write("\xEF\xBB\xBF[S]\r\nk=v");  // a byte order mark and no final line end
  ASSERT_TRUE(profile->WriteString("S", "k", "w", file));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF[S]\r\nk=w");
}

// Writing rewrites the whole file, so what could not be read is never
// written: its contents would be lost. Our writer checks the read-only mark
// itself, as Windows does, because root may write any file (and Wine run by
// root writes a read-only one, so the system's functions cannot be held to
// this under Wine).
TEST_F(OwnIniFile, WhatCannotBeReadOrIsReadOnlyIsNeverReplaced) {
  std::filesystem::create_directory(dir.Path() / "own.ini");
  EXPECT_EQ(profile->GetString("S", "k", 100, file), "");
  EXPECT_FALSE(profile->WriteString("S", "k", "w", file));
  EXPECT_FALSE(profile->WriteSection("S", std::string("k=w\0", 4), file));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "own.ini"));
  EXPECT_FALSE(profile->WriteString("S", "k", "w", ""));
  const std::string text = "; mine\r\n[S]\r\nk=v\r\n";
  dir.Write("mine.ini", text);
  const ReadOnly read_only(dir.Path() / "mine.ini");
  EXPECT_FALSE(profile->WriteString("S", "k", "w", dir.File("mine.ini")));
  EXPECT_EQ(dir.Read("mine.ini"), text);
}

#ifndef _WIN32
// What only POSIX file systems have here: FIFOs, symbolic links and
// permission bits.
TEST_F(OwnIniFile, LinksLeadTheWriteToTheirEndAndAreNotWrittenThrough) {
  namespace fs = std::filesystem;
  fs::create_directory(dir.Path() / "real");
  dir.Write("real/own.ini", "[S]\nk=v\n");
  fs::create_symlink("real/own.ini", dir.Path() / "hop.ini");
  fs::create_symlink(dir.Path() / "hop.ini", dir.Path() / "own.ini");
  // The name the writer once used for its temporary file, planted.
  dir.Write("victim", "kept");
  fs::create_symlink(dir.Path() / "victim", dir.Path() / "real/own.ini.tmp~");
  ASSERT_TRUE(profile->WriteString("S", "k", "w", file));
  EXPECT_EQ(dir.Read("real/own.ini"), "[S]\nk=w\n");
  EXPECT_EQ(dir.Read("victim"), "kept");
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "own.ini"));
  EXPECT_EQ(dir.Tree().size(), 6u) << "nothing left behind";
}

TEST_F(OwnIniFile, TheFileKeepsItsPermissions) {
  Write("[S]\n");
  ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
  ASSERT_TRUE(profile->WriteString("S", "k", "v", file));
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0604u);
}
#endif

}  // namespace
}  // namespace qs

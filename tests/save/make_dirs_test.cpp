#include "save/make_dirs.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace qs {
namespace {

TEST(MakeDirs, CreatesMissingParentsFirst) {
  test::ScratchDir scratch;
  const std::string sep(1, PathSeparator());
  const std::string deep = scratch.Text() + sep + "a" + sep + "b" + sep + "c";
  MakeDirs(deep);
  EXPECT_TRUE(IsDirectory(deep));
  EXPECT_EQ(scratch.Tree(), (std::set<std::string>{"a", "a/b", "a/b/c"}));
  MakeDirs(deep);  // a second time changes nothing
  MakeDirs(scratch.Text() + sep + "a" + sep + "d");
  EXPECT_EQ(scratch.Tree().size(), 4u);
}

TEST(MakeDirs, AnyEntryOfTheNameCountsAsExisting) {
  test::ScratchDir scratch;
  WriteWholeFile(scratch.File("taken"), "x");
  EXPECT_NO_THROW(MakeDirs(scratch.File("taken")));
  EXPECT_FALSE(IsDirectory(scratch.File("taken")));
  EXPECT_TRUE(PathExists(scratch.File("taken")));
}

TEST(MakeDirs, ACreationThatFailsIsAnError) {
  test::ScratchDir scratch;
  WriteWholeFile(scratch.File("file"), "x");
  const std::string sep(1, PathSeparator());
  EXPECT_THROW(MakeDirs(scratch.File("file") + sep + "sub" + sep + "deeper"), std::system_error);
}

TEST(MakeDirs, APathWithoutSeparatorIsNeverCreated) {
  const std::string name = "qs-make-dirs-no-separator";
  MakeDirs(name);
  EXPECT_FALSE(PathExists(name));
}

TEST(FileSystem, WritesReplaceTheWholeFile) {
  test::ScratchDir scratch;
  const std::string path = scratch.File("f\xC3\xA9.txt");
  WriteWholeFile(path, "a longer first text");
  WriteWholeFile(path, "short");
  EXPECT_EQ(std::filesystem::file_size(test::FromUtf8(path)), 5u);
  EXPECT_THROW(MakeDirectory(scratch.Text()), std::system_error);
  const std::string sep(1, PathSeparator());
  EXPECT_THROW(WriteWholeFile(path + sep + "x", "y"), std::system_error);
}

#ifndef _WIN32
// A write cut short (here by the file size limit) leaves no half file of its
// own behind, while a file that was there before keeps its name.
TEST(FileSystem, AFailedWriteLeavesNoNewFile) {
  test::ScratchDir scratch;
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string big(10000, 'x');
  EXPECT_THROW(WriteWholeFile(scratch.File("new"), big), std::system_error);
  WriteWholeFile(scratch.File("old"), "before");
  EXPECT_THROW(WriteWholeFile(scratch.File("old"), big), std::system_error);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(scratch.Tree(), std::set<std::string>{"old"});
}
#endif

}  // namespace
}  // namespace qs

#include "save/make_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

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

}  // namespace
}  // namespace qs

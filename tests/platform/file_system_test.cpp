#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <system_error>

#include "platform/directory_stamps.h"
#include "platform/system.h"
#include "tests/common/scratch_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace qs {
namespace {

// Until the new file is whole the old one stays; a writer that gives up
// leaves nothing of its own.
TEST(FileSystem, TheOldFileStaysUntilTheNewOneIsWhole) {
  test::ScratchDir scratch;
  const std::string path = scratch.File("f\xC3\xA9.txt");
  WriteWholeFile(path, "old");
  {
    ReplacingFile file(path);
    file.Write("new and longer");
    EXPECT_EQ(scratch.Read("f\xC3\xA9.txt"), "old");
  }
  EXPECT_EQ(scratch.Tree().size(), 1u) << "the abandoned text is gone";
  EXPECT_THROW(MakeDirectory(scratch.Text()), std::system_error);
  EXPECT_THROW(WriteWholeFile(path + PathSeparator() + "x", "y"), std::system_error);
}

// The stamp a write gives is the one a later look finds, for a new file and
// for one put in another's place; a directory's files are stamped by name,
// but not through a link standing at the directory.
TEST(FileSystem, WrittenFilesAreStampedAsALookFindsThem) {
  test::ScratchDir scratch;
  const std::string path = scratch.File("stamped");
  const FileStamp made = WriteWholeFile(path, "first");
  EXPECT_EQ(RegularFileStamp(path), made);
  const FileStamp replaced = WriteWholeFile(path, "second, longer");
  EXPECT_EQ(RegularFileStamp(path), replaced);
  EXPECT_EQ(replaced.size, 14);
  const DirectoryStamps stamps(scratch.Text(), DirectoryStamps::Link::kRefused);
  EXPECT_EQ(stamps.Of("stamped"), replaced);
  EXPECT_EQ(stamps.Of("missing"), std::nullopt);
#ifndef _WIN32
  std::filesystem::create_directory_symlink(scratch.Path(), scratch.Path() / "link");
  const std::string link = scratch.File("link");
  EXPECT_EQ(DirectoryStamps(link, DirectoryStamps::Link::kRefused).Of("stamped"), std::nullopt);
  EXPECT_EQ(DirectoryStamps(link, DirectoryStamps::Link::kFollowed).Of("stamped"), replaced);
#endif
}

#ifndef _WIN32
// A write cut short (here by the file size limit) leaves no half file of its
// own behind, while a file that was there before keeps its name; a link
// planted under the final name is replaced, not written through.
TEST(FileSystem, AFailedWriteLeavesNoNewFileAndLinksAreNotFollowed) {
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
  EXPECT_EQ(scratch.Read("old"), "before");
  std::filesystem::create_symlink(scratch.Path() / "old", scratch.Path() / "link");
  WriteWholeFile(scratch.File("link"), "new");
  EXPECT_FALSE(std::filesystem::is_symlink(scratch.Path() / "link"));
  EXPECT_EQ(scratch.Read("old"), "before");
}
#endif

}  // namespace
}  // namespace qs

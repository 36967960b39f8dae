// Windows's own file calls behind the save record's comparisons and its lock.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

TEST(Win32FileSystem, StampsAndContentsOfRegularFilesOnly) {
  const test::ScratchDir dir;
  const std::string big(70000, 'q');  // more than one chunk of the comparison
  dir.Write("a", big), dir.Write("same", big), dir.Write("late", big.substr(1) + "x");
  dir.Write("grown", big.substr(1));
  std::filesystem::create_directory(dir.Path() / "sub");
  const auto before = RegularFileStamp(dir.File("grown"));
  dir.Write("grown", big);
  HideFile(dir.File("grown"));
  EXPECT_TRUE(GetFileAttributesW((dir.Path() / "grown").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(before && RegularFileStamp(dir.File("grown")));
  EXPECT_EQ(RegularFileStamp(dir.File("grown"))->size - before->size, 1);
  EXPECT_FALSE(RegularFileStamp(dir.File("sub")) || RegularFileStamp(dir.File("missing")));
  const struct {
    const char *first, *second;
    bool same;
  } pairs[] = {{"a", "same", true}, {"a", "late", false}, {"a", "grown", true},
               {"a", "missing", false}, {"sub", "sub", false}};
  for (const auto& pair : pairs)
    EXPECT_EQ(SameFileContents(dir.File(pair.first), dir.File(pair.second)), pair.same)
        << pair.first << " " << pair.second;
  EXPECT_TRUE(RemoveEntry(dir.File("grown")) && RemoveEntry(dir.File("sub")));
  EXPECT_FALSE(RemoveEntry(dir.File("sub")));
  // A drive the system does not have is named as such, and only that.
  EXPECT_EQ(MissingDrive("q:\\Mail"), "The drive q: does not exist.");
  EXPECT_FALSE(MissingDrive(dir.File("missing")) || MissingDrive("\\\\server\\share") || MissingDrive("C:\\"));
}

// Locks belong to handles on Windows: a second lock in the same process waits
// as another process's would, while the file stays readable and writable.
TEST(Win32FileLock, WaitsForTheHolderAndLeavesTheFileUsable) {
  const test::ScratchDir dir;
  EXPECT_THROW(FileLock{dir.Text()}, std::system_error);
  std::optional<FileLock> held(std::in_place, dir.File("lock"));
  dir.Write("lock", "run 1");
  EXPECT_EQ(dir.Read("lock"), "run 1");
  std::atomic<bool> taken{false};
  std::optional<bool> waited;
  std::thread second([&] {
    const FileLock lock(dir.File("lock"));
    taken = true;
    waited = lock.Waited();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(taken || held->Waited()) << "two holders at once";
  held.reset();
  second.join();
  EXPECT_EQ(waited, true);
}

}  // namespace
}  // namespace qs

#include <gtest/gtest.h>

#include "save/modListToText.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"
#include "tests/save/list_fixture.h"

namespace qs {
namespace {

// On Linux the list goes beside the settings file in use, never beside an
// installed program; its directory is made when the settings were never
// saved.
TEST(ExportPlace, TheListGoesBesideTheSettingsFile) {
  test::ListFixture fixture;
  fixture.list.Add(test::Row());
  test::ScratchDir scratch;
  const testing::ScopedEnvironment config("XDG_CONFIG_HOME", scratch.File("config"));
  const std::string settings = scratch.File("config/quillstow/Quillstow.ini");
  ExportTarget target = DefaultExportTarget(settings);
  EXPECT_EQ(target.path, scratch.File("config/quillstow/list.txt"));
  std::vector<std::string> opened;
  target.open = [&opened](const std::string& path) { opened.push_back(path); };
  ListToText(fixture.app, fixture.list, {"%3", settings}, target);
  EXPECT_EQ(scratch.Read("config/quillstow/list.txt"), "Re: hello?\r\n");
  EXPECT_EQ(opened, std::vector<std::string>{target.path});
}

}  // namespace
}  // namespace qs

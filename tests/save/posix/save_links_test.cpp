#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "tests/save/save_run_fixture.h"

namespace qs {
namespace {

using SaveRun = test::SaveRunFixture;

// Links planted in the save directory are never followed: an item that
// would be written through one is not saved, and says why; the record and
// the lock are set aside. Nothing lands outside the save directory.
TEST_F(SaveRun, LinksInTheSaveDirectoryAreNotFollowed) {
  namespace fs = std::filesystem;
  using Plant = std::function<void(const fs::path& save, const fs::path& outside)>;
  const auto linked = [](const char* directory) -> Plant {
    return [directory](const fs::path& save, const fs::path& outside) {
      fs::remove_all(save / directory);
      fs::create_directory_symlink(outside, save / directory);
    };
  };
  const struct {
    const char* what;
    Plant plant;
    const char* summary;  // of the run after the plant
  } cases[] = {
      {"a subfolder level", linked("Sub"), "2 listed: 1 saved, 0 unchanged, 1 not saved"},
      {"a recorded item directory", linked("Two"), "2 listed: 1 saved, 0 unchanged, 1 not saved"},
      {"an attachments directory", linked("Two/attachments"), "2 listed: 1 saved, 0 unchanged, 1 not saved"},
      {"the record and the lock", [](const fs::path& save, const fs::path& outside) {
         std::ofstream(outside / "kept") << "kept";
         fs::remove(save / ".quillstow-saved");
         fs::remove(save / ".quillstow-lock");
         fs::create_symlink(outside / "kept", save / ".quillstow-saved");
         fs::create_symlink(outside / "lock", save / ".quillstow-lock");
       }, "2 listed: 0 saved, 2 unchanged, 0 not saved"},  // taken back by their bytes
  };
  settings = {.fn_format = "%3", .fn_output = "dir", .use_fn_folder = true, .clip_address = "9", .clip_subject = "9"};
  fixture.app.SetDebugLevel(1);
  for (const auto& planted : cases) {
    test::ScratchDir save, outside;
    fixture.list.Start({});
    List("one", "One", {.folder = "\\\\Mailbox\\Inbox\\Sub", .attachments = {"a.txt"}});
    List("two", "Two", {.attachments = {"b.txt"}});
    Save(save.Text());
    planted.plant(save.Path(), outside.Path());
    for (const char* id : {"one", "two"}) store.mails[id].modified = MakeDateTime(2020, 1, 1);
    fixture.err.str({});
    Save(save.Text());
    const std::string said = fixture.err.str();
    EXPECT_NE(said.find(planted.summary), std::string::npos) << planted.what << ": " << said;
    if (std::string(planted.summary).ends_with("1 not saved")) {
      EXPECT_NE(said.find("not followed"), std::string::npos) << planted.what << ": the reason is told";
    }
    const std::set<std::string> left = outside.Tree();
    EXPECT_TRUE(left.empty() || left == std::set<std::string>{"kept"}) << planted.what;
    EXPECT_EQ(left.count("kept") ? outside.Read("kept") : "kept", "kept") << planted.what;
  }
}

}  // namespace
}  // namespace qs

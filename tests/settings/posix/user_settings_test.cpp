// The settings in the user's configuration directory on Linux: made on the
// first OK, and a directory that cannot be made is named in the message.

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/frmOptions.h"
#include "tests/common/console_session.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

namespace fs = std::filesystem;

// Loads a dialog on the default file, changes one option and presses OK.
std::vector<std::string> ChangeAndConfirm(const fs::path& config) {
  testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", config.string());
  testing::ConsoleSession session;
  frmOptions form(session.app);
  form.Load();
  form.Show();
  session.windows.Execute(session.app, "ClipSubject=70");
  session.windows.Execute(session.app, "cmdOK");
  form.UnloadForExit();
  return session.Messages();
}

TEST(UserSettings, TheFirstOKMakesTheDirectoryAndTheFile) {
  test::ScratchDir scratch;
  EXPECT_TRUE(ChangeAndConfirm(scratch.Path() / "config").empty());
  EXPECT_NE(scratch.Read("config/quillstow/Quillstow.ini").find("ClipSubject=70"), std::string::npos);
}

TEST(UserSettings, ADirectoryThatCannotBeMadeIsNamedWithTheReason) {
  test::ScratchDir scratch;
  const fs::path config = scratch.Path() / "config";
  fs::create_directory(config);
  fs::create_directory_symlink(scratch.Path(), config / "quillstow");
  const auto messages = ChangeAndConfirm(config);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find((config / "quillstow").string() + " (a symbolic link"), std::string::npos)
      << messages[0];
  EXPECT_FALSE(fs::exists(scratch.Path() / "Quillstow.ini"));
}

}  // namespace
}  // namespace qs

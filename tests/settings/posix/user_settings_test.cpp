// The settings in the user's configuration directory on Linux: made on the
// first OK, and a directory that cannot be made is named in the message.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "settings/frmOptions.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

namespace fs = std::filesystem;

class UserSettings : public ::testing::Test {
 protected:
  UserSettings() { setenv("XDG_CONFIG_HOME", config.c_str(), 1); }
  ~UserSettings() override { unsetenv("XDG_CONFIG_HOME"); }

  // Loads a dialog on the default file, changes one option and presses OK.
  void ChangeAndConfirm() {
    frmOptions form(app);
    form.Load();
    form.Show();
    ws.Execute(app, "ClipSubject=70");
    ws.Execute(app, "cmdOK");
    form.UnloadForExit();
  }

  test::ScratchDir scratch;
  fs::path config = scratch.Path() / "config";
  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem ws{in, out, err};
  Application app{ws};
};

TEST_F(UserSettings, TheFirstOKMakesTheDirectoryAndTheFile) {
  ChangeAndConfirm();
  std::ifstream file(config / "quillstow" / "Quillstow.ini");
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("ClipSubject=70"), std::string::npos) << text.str();
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_F(UserSettings, ADirectoryThatCannotBeMadeIsNamedWithTheReason) {
  fs::create_directory(config);
  fs::create_directory_symlink(scratch.Path(), config / "quillstow");
  ChangeAndConfirm();
  ASSERT_EQ(ws.BoxesShown().size(), 1u);
  const std::string& text = ws.BoxesShown()[0].text;
  EXPECT_NE(text.find((config / "quillstow").string() + " (a symbolic link"), std::string::npos)
      << text;
  EXPECT_FALSE(fs::exists(scratch.Path() / "Quillstow.ini"));
}

}  // namespace
}  // namespace qs

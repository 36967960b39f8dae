#include "app/modRegSettings.h"

#include <gtest/gtest.h>

#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

// Split at the first and the last backslash, as "root key path|value name"
// (root 1 for the machine, 2 for the user); unknown roots and paths of one
// backslash split to nothing.
TEST(SplitRegPath, RootKeyPathAndValueName) {
  const std::pair<const char*, const char*> cases[] = {
      {"hkcu\\\\v", "2 |v"},
      {"hkcu\\Value", "0 |"},
      {"HKEY_CURRENT_USER\\Software\\x", "0 |"},
      {"\\\\", "0 |"}};
  for (const auto& [path, parts] : cases) {
    const RegPath split = SplitRegPath(path);
    EXPECT_EQ(std::to_string(static_cast<int>(split.root)) + " " + split.key_path + "|" +
                  split.value_name,
              parts)
        << path;
  }
}

// A registry file of ours everywhere, and on Windows the system registry,
// written below a key of the test's own that is removed afterwards.
class GetRegSettingTest : public ::testing::TestWithParam<std::string> {
 protected:
  ~GetRegSettingTest() override {
    registry->DeleteTree(RegistryRoot::CurrentUser, base);
    registry->DeleteTree(RegistryRoot::LocalMachine, base);
  }
  test::ScratchDir scratch;
  std::string base = "Software\\QuillstowTest\\" + test::Utf8(scratch.Path().filename());
  std::unique_ptr<Registry> registry =
      GetParam() == "system" ? UserRegistry() : RegistryInFile(scratch.File("registry.txt"));
};

// Names in any letter case; a trailing backslash reads the default value;
// what is missing, and values of 1024 bytes or more, read as empty.
TEST_P(GetRegSettingTest, ReadsTheNamedValueOfEitherRoot) {
  const auto write = [&](RegistryRoot root, const std::string& key, const char* name,
                         const std::string& text) {
    ASSERT_TRUE(registry->WriteText(root, key, name, text));
  };
  write(RegistryRoot::CurrentUser, base + "\\Café", "Pfad", "C:\\Büro\\h.exe");
  write(RegistryRoot::LocalMachine, base, "Where", "machine");
  write(RegistryRoot::CurrentUser, base, "", "default text");
  write(RegistryRoot::CurrentUser, base, "Fits", std::string(1023, 'x'));
  write(RegistryRoot::CurrentUser, base, "Over", std::string(1024, 'y'));
  const std::pair<std::string, std::string> cases[] = {
      {"HKCU\\" + base + "\\CAFé\\pfad", "C:\\Büro\\h.exe"},
      {"hklm\\" + base + "\\Where", "machine"},
      {"hklm\\" + base + "\\Café\\Pfad", ""},
      {"hkcu\\" + base + "\\", "default text"},
      {"hkcu\\" + base + "\\Fits", std::string(1023, 'x')},
      {"hkcu\\" + base + "\\Over", ""},
      {"hkcu\\" + base + "\\Absent", ""},
      {"hkcu\\" + base + "\\NoKey\\Fits", ""}};
  for (const auto& [path, text] : cases) EXPECT_EQ(GetRegSetting(*registry, path), text) << path;
}

INSTANTIATE_TEST_SUITE_P(Registries, GetRegSettingTest,
                         ::testing::ValuesIn(UserRegistry()->IsSystem()
                                                 ? std::vector<std::string>{"file", "system"}
                                                 : std::vector<std::string>{"file"}),
                         [](const auto& param_info) { return param_info.param; });

}  // namespace
}  // namespace qs

#include "app/modRegSettings.h"

#include <gtest/gtest.h>

#include "tests/app/registry_fixture.h"

namespace qs {
namespace {

// Split at the first and the last backslash; unknown roots and paths of one
// backslash split to nothing.
TEST(SplitRegPath, RootKeyPathAndValueName) {
  const struct {
    const char* path;
    RegistryRoot root;
    const char *key_path, *value_name;
  } cases[] = {
      {"hklm\\Software\\Helper\\InstallPath", RegistryRoot::LocalMachine, "Software\\Helper", "InstallPath"},
      {"HkCu\\a\\b\\c\\", RegistryRoot::CurrentUser, "a\\b\\c", ""},
      {"hkcu\\\\v", RegistryRoot::CurrentUser, "", "v"},
      {"hkcu\\Value", RegistryRoot::None, "", ""},
      {"C:\\Tools\\helper.exe", RegistryRoot::None, "", ""},
      {"HKEY_CURRENT_USER\\Software\\x", RegistryRoot::None, "", ""},
      {"hkcr\\a\\b", RegistryRoot::None, "", ""},
      {"", RegistryRoot::None, "", ""},
      {"\\\\", RegistryRoot::None, "", ""},
  };
  for (const auto& c : cases) {
    const RegPath split = SplitRegPath(c.path);
    EXPECT_EQ(split.root, c.root) << c.path;
    EXPECT_EQ(split.key_path, c.key_path) << c.path;
    EXPECT_EQ(split.value_name, c.value_name) << c.path;
  }
}

using GetRegSettingTest = test::RegistryTest;

// Names in any letter case; a trailing backslash reads the default value;
// what is missing, and values of 1024 bytes or more, read as empty.
TEST_P(GetRegSettingTest, ReadsTheNamedValueOfEitherRoot) {
  const auto write = [&](RegistryRoot root, const std::string& key, const char* name, const std::string& text) {
    ASSERT_TRUE(registry->WriteText(root, key, name, text));
  };
  write(RegistryRoot::CurrentUser, base + "\\Café", "Pfad", "C:\\Büro\\h.exe");
  write(RegistryRoot::LocalMachine, base, "Where", "machine");
  write(RegistryRoot::CurrentUser, base, "", "default text");
  write(RegistryRoot::CurrentUser, base, "Fits", std::string(1023, 'x'));
  write(RegistryRoot::CurrentUser, base, "Over", std::string(1024, 'y'));
  write(RegistryRoot::CurrentUser, base, "V", "first");
  write(RegistryRoot::CurrentUser, base, "V", "second");
  const std::pair<std::string, std::string> cases[] = {
      {"hkcu\\" + base + "\\Café\\Pfad", "C:\\Büro\\h.exe"},
      {"HKCU\\" + base + "\\CAFé\\pfad", "C:\\Büro\\h.exe"},
      {"hklm\\" + base + "\\Where", "machine"},
      {"hklm\\" + base + "\\Café\\Pfad", ""},
      {"hkcu\\" + base + "\\", "default text"},
      {"hkcu\\" + base + "\\Fits", std::string(1023, 'x')},
      {"hkcu\\" + base + "\\Over", ""},
      {"hkcu\\" + base + "\\V", "second"},
      {"hkcu\\" + base + "\\Absent", ""},
      {"hkcu\\" + base + "\\NoKey\\V", ""},
      {"hkcu\\V", ""}};
  for (const auto& [path, text] : cases) EXPECT_EQ(GetRegSetting(*registry, path), text) << path;
  ASSERT_TRUE(registry->DeleteTree(RegistryRoot::CurrentUser, base));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\V"), "");
}

INSTANTIATE_TEST_SUITE_P(Registries, GetRegSettingTest, ::testing::ValuesIn(test::AvailableRegistries()),
                         [](const auto& param_info) { return param_info.param; });

TEST(RegistryFile, ReadsAFileWrittenByHand) {
  test::ScratchDir scratch;
  scratch.Write("registry.txt",
                "; the helper\r\n"
                "[HKEY_CURRENT_USER\\Software\\Orrinwick\\Quillstow]\r\n"
                "AllowAccess= /allow \"two words\"\r\n"
                "[hklm\\software\\helper]\r\n"
                "InstallPath=/opt/helper/run\r\n"
                "@=default=with equals\r\n"
                "[HKEY_CLASSES_ROOT\\Software\\Helper]\r\n"
                "InstallPath=not this one\r\n");
  const auto registry = RegistryInFile(scratch.File("registry.txt"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\Software\\Orrinwick\\Quillstow\\AllowAccess"),
            " /allow \"two words\"");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\Software\\Helper\\InstallPath"), "/opt/helper/run");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\Software\\Helper\\"), "default=with equals");
  EXPECT_FALSE(registry->IsSystem());
  EXPECT_EQ(GetRegSetting(*RegistryInFile(scratch.File("missing.txt")), "hklm\\Software\\Helper\\"), "")
      << "a missing file holds no values";
}

}  // namespace
}  // namespace qs

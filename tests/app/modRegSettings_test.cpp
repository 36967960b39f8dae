#include "app/modRegSettings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/app/registry_fixture.h"

namespace qs {
namespace {

TEST(SplitRegPath, SplitsAtTheFirstAndTheLastBackslash) {
  const RegPath lm = SplitRegPath("hklm\\Software\\Helper\\InstallPath");
  EXPECT_EQ(lm.root, RegistryRoot::LocalMachine);
  EXPECT_EQ(lm.key_path, "Software\\Helper");
  EXPECT_EQ(lm.value_name, "InstallPath");
  const RegPath cu = SplitRegPath("HkCu\\a\\b\\c\\");
  EXPECT_EQ(cu.root, RegistryRoot::CurrentUser);
  EXPECT_EQ(cu.key_path, "a\\b\\c");
  EXPECT_EQ(cu.value_name, "");
}

TEST(SplitRegPath, UnknownRootsAndSingleBackslashesSplitToNothing) {
  for (const char* path : {"hkcu\\Value", "C:\\Tools\\helper.exe", "HKEY_CURRENT_USER\\Software\\x",
                           "hkcr\\a\\b", "", "no backslash", "\\\\"}) {
    const RegPath split = SplitRegPath(path);
    EXPECT_EQ(split.root, RegistryRoot::None) << path;
    EXPECT_EQ(split.key_path, "") << path;
    EXPECT_EQ(split.value_name, "") << path;
  }
  // Two adjacent backslashes: a root and a value name but no key path.
  EXPECT_EQ(SplitRegPath("hkcu\\\\v").key_path, "");
}

using GetRegSettingTest = test::RegistryTest;

TEST_P(GetRegSettingTest, ReadsTheNamedValueOfEitherRoot) {
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base + "\\Helper", "Path",
                                  "C:\\Program Files\\Helper\\h.exe"));
  ASSERT_TRUE(registry->WriteText(RegistryRoot::LocalMachine, base, "Where", "machine"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Helper\\Path"),
            "C:\\Program Files\\Helper\\h.exe");
  EXPECT_EQ(GetRegSetting(*registry, "HKCU\\" + base + "\\HELPER\\path"),
            "C:\\Program Files\\Helper\\h.exe");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\" + base + "\\Where"), "machine");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\" + base + "\\Helper\\Path"), "");
}

TEST_P(GetRegSettingTest, MissingKeysAndValuesReadAsEmpty) {
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "Present", "x"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Absent"), "");
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\NoKey\\Present"), "");
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\Present"), "");
}

TEST_P(GetRegSettingTest, TrailingBackslashReadsTheDefaultValue) {
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "", "default text"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\"), "default text");
}

TEST_P(GetRegSettingTest, ValuesOf1024BytesOrMoreReadAsEmpty) {
  const std::string fits(1023, 'x');
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "Fits", fits));
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "Over", fits + "y"));
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "Long", std::string(5000, 'z')));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Fits"), fits);
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Over"), "");
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Long"), "");
}

TEST_P(GetRegSettingTest, TextsOutsideAsciiComeBackAsWritten) {
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base + "\\Café", "Pfad", "C:\\Büro\\h.exe"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\Café\\Pfad"), "C:\\Büro\\h.exe");
}

TEST_P(GetRegSettingTest, RewrittenValuesReplaceTheOldText) {
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "V", "first"));
  ASSERT_TRUE(registry->WriteText(RegistryRoot::CurrentUser, base, "V", "second"));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\V"), "second");
  ASSERT_TRUE(registry->DeleteTree(RegistryRoot::CurrentUser, base));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\" + base + "\\V"), "");
}

INSTANTIATE_TEST_SUITE_P(Registries, GetRegSettingTest,
                         ::testing::ValuesIn(test::AvailableRegistries()),
                         [](const auto& param_info) { return param_info.param; });

TEST(RegistryFile, ReadsAFileWrittenByHand) {
  const auto dir = std::filesystem::temp_directory_path() / "qs-registry-by-hand";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "registry.txt", std::ios::binary)
      << "; the helper\r\n"
         "[HKEY_CURRENT_USER\\Software\\Orrinwick\\Quillstow]\r\n"
         "AccessProg=hklm\\Software\\Helper\\InstallPath\r\n"
         "AllowAccess= /allow \"two words\"\r\n"
         "[hklm\\software\\helper]\r\n"
         "InstallPath=/opt/helper/run\r\n"
         "@=default=with equals\r\n"
         "[HKEY_CLASSES_ROOT\\Software\\Helper]\r\n"
         "InstallPath=not this one\r\n";
  const auto file = (dir / "registry.txt").u8string();
  const auto registry = RegistryInFile(std::string(file.begin(), file.end()));
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\Software\\Orrinwick\\Quillstow\\AccessProg"),
            "hklm\\Software\\Helper\\InstallPath");
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\Software\\Orrinwick\\Quillstow\\AllowAccess"),
            " /allow \"two words\"");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\Software\\Helper\\InstallPath"), "/opt/helper/run");
  EXPECT_EQ(GetRegSetting(*registry, "hklm\\Software\\Helper\\"), "default=with equals");
  std::filesystem::remove_all(dir);
}

TEST(RegistryFile, AMissingFileHoldsNoValues) {
  const auto registry = RegistryInFile("/nonexistent/quillstow/registry.txt");
  EXPECT_EQ(GetRegSetting(*registry, "hkcu\\Software\\Orrinwick\\Quillstow\\AccessProg"), "");
  EXPECT_FALSE(registry->IsSystem());
}

}  // namespace
}  // namespace qs

// The INI file class over each implementation of the profile functions the
// build has: our own everywhere, and kernel32's as well on Windows, so that
// under Wine ours is held against the system's.

#include "settings/clsINI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "tests/common/console_session.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using List = std::vector<std::string>;

std::vector<std::string> AvailableProfiles() {
  std::vector<std::string> names{std::string(OwnProfile()->Name())};
  if (SystemProfile()->Name() != names.front()) names.emplace_back(SystemProfile()->Name());
  return names;
}

class IniSuite : public ::testing::TestWithParam<std::string> {
 protected:
  IniSuite() { ini.SetFileName(dir.File("test.ini")); }
  // A list call's result: the sections, or a section's keys or lines.
  List Sections() const { return Call(&clsINI::GetAllSections); }
  List Keys(const std::string& section) const { return Call(&clsINI::GetAllKeys, section); }
  List Lines(const std::string& section) const { return Call(&clsINI::GetSection, section); }
  template <class Method, class... Section>
  List Call(Method method, const Section&... section) const {
    List list{"stale"};
    (ini.*method)(section..., list);
    return list;
  }

  testing::ConsoleSession session;
  test::ScratchDir dir;
  clsINI ini{session.app, SystemProfile()->Name() == GetParam() ? SystemProfile() : OwnProfile()};
};

TEST_P(IniSuite, MissingFileSectionOrKeyGiveDefaultsAndOneEmptyElement) {
  EXPECT_EQ(ini.GetKey("Options", "UseDate", "1"), "1");
  EXPECT_EQ(Sections(), List{""});
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "test.ini")) << "reading creates nothing";
  dir.Write("test.ini", "[Other]\r\nkey=value\r\n");
  EXPECT_EQ(ini.GetKey("Options", "key", "default") + ini.GetKey("Other", "absent", "|default"),
            "default|default");
  EXPECT_EQ(Keys("Options"), List{""});
  EXPECT_EQ(Lines("Options"), List{""});
}

// Names match in any case; AddKey and DeleteKey tell a failed write by -1,
// WriteKeyValue not at all; WriteSection replaces only its section.
TEST_P(IniSuite, WritesCreateAndReplace) {
  ini.WriteKeyValue("Options", "DateFormat", "yymmdd");
  ini.WriteKeyValue("options", "DATEFORMAT", "dd/mm/yyyy");
  EXPECT_EQ(ini.AddKey("Options", "Since", "2024-01-01"), 0);
  EXPECT_EQ(ini.GetKey("OPTIONS", "dateformat", ""), "dd/mm/yyyy");
  EXPECT_EQ(Keys("Options"), (List{"DateFormat", "Since", ""}));
  ini.WriteKeyValue("Grüße", "Schlüssel", "Straße – café");
  EXPECT_EQ(ini.GetKey("grüße", "Schlüssel", ""), "Straße – café");
  EXPECT_EQ(ini.DeleteKey("Options", "Since"), 0);
  ini.WriteSection("Grüße", std::string("new=4\0other=5\0", 14));
  EXPECT_EQ(Lines("Grüße"), (List{"new=4", "other=5", ""}));
  EXPECT_EQ(Lines("Options"), (List{"DateFormat=dd/mm/yyyy", ""}));
  ini.SetFileName(dir.Unwritable("test.ini"));
  EXPECT_EQ(ini.AddKey("S", "k", "v"), -1);
  EXPECT_NO_THROW(ini.WriteKeyValue("S", "k", "v"));
  EXPECT_EQ(ini.GetKey("S", "k", "none"), "none");
  EXPECT_TRUE(session.windows.BoxesShown().empty());
}

// Blanks and one pair of quotes go; an empty value gives the default and
// leaves GetKeyValue's text. Values are cut to 4094 UTF-16 units: U+20AC
// takes one, U+1F600 two and does not fit in the last.
TEST_P(IniSuite, StoredValuesAreReadTrimmedAndCut) {
  const std::string fits(4094, 'a'), base(4093, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {"", "D"}, {"   ", "D"}, {"\"\"", "D"}, {"''", "D"}, {"\"%1 %2 \"", "%1 %2 "},
      {" %1 %2 ", "%1 %2"}, {"' quoted '", " quoted "}, {"\"open", "\"open"},
      {"a \"b\" c", "a \"b\" c"}, {fits + "b", fits},
      {std::string(6000, 'c'), std::string(4094, 'c')},
      {base + "\xE2\x82\xAC\xE2\x82\xAC", base + "\xE2\x82\xAC"},
      // kernel32 writes the file in the 8-bit code page, which has no U+1F600.
      {base + "\xF0\x9F\x98\x80", GetParam() == "kernel32" ? base + "?" : base}};
  for (const auto& [written, read] : cases) {
    ini.WriteKeyValue("S", "k", written);
    EXPECT_EQ(ini.GetKey("S", "k", "D"), read) << written.substr(0, 20) << " " << written.size();
  }
  std::string kept = "kept";
  ini.WriteKeyValue("S", "k", "");
  ini.GetKeyValue("S", "k", kept);
  EXPECT_EQ(kept, "kept");
}

// Lists come in file order as the system reads hand-written lines.
TEST_P(IniSuite, ListsComeInFileOrder) {
  dir.Write("test.ini",
            "; a comment\r\n[First]\r\nz=1\r\n[Options]\r\n; UseDate=0\r\n\r\n  UseDate  =  1  \r\n"
            "TextFormat=\"%1 \"\r\nFormula=a=b\r\n[Last]\r\na=2\r\n");
  EXPECT_EQ(Lines("Options"), (List{"UseDate=1", "TextFormat=\"%1 \"", "Formula=a=b", ""}));
  EXPECT_EQ(Keys("Options"), (List{"UseDate", "TextFormat", "Formula", ""}));
  EXPECT_EQ(Sections(), (List{"First", "Options", "Last", ""}));
  EXPECT_EQ(ini.GetKey("Options", "Formula", ""), "a=b");
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

TEST_P(IniSuite, Utf16FileWithByteOrderMarkIsReadAndWrittenBackAsUtf16) {
  dir.Write("test.ini", Utf16Le(u"; note\r\n[S]\r\nk=\u00E9\r\n"));
  EXPECT_EQ(ini.GetKey("S", "k", ""), "\xC3\xA9");
  EXPECT_EQ(ini.AddKey("S", "new", "\xF0\x9F\x98\x80"), 0);
  EXPECT_EQ(dir.Read("test.ini"), Utf16Le(u"; note\r\n[S]\r\nk=\u00E9\r\nnew=\U0001F600\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Profiles, IniSuite, ::testing::ValuesIn(AvailableProfiles()),
                         [](const auto& param_info) { return param_info.param; });

}  // namespace
}  // namespace qs

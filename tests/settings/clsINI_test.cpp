// The INI file class over each implementation of the profile functions the
// build has: our own everywhere, and kernel32's as well on Windows, so that
// under Wine ours is held against the system's.

#include "settings/clsINI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "tests/common/scratch_dir.h"

namespace qs {
namespace {

using List = std::vector<std::string>;

std::unique_ptr<Profile> MakeProfile(const std::string& name) {
  auto system = SystemProfile();
  return system->Name() == name ? std::move(system) : OwnProfile();
}

std::vector<std::string> AvailableProfiles() {
  std::vector<std::string> names{std::string(OwnProfile()->Name())};
  if (SystemProfile()->Name() != names.front()) names.emplace_back(SystemProfile()->Name());
  return names;
}

class IniSuite : public ::testing::TestWithParam<std::string> {
 protected:
  IniSuite() : ini(app, MakeProfile(GetParam())) { ini.SetFileName(dir.File("test.ini")); }

  void WriteFile(const std::string& text) const {
    std::ofstream(dir.Path() / "test.ini", std::ios::binary) << text;
  }
  std::string ReadFile() const {
    std::ifstream file(dir.Path() / "test.ini", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  bool FileExists() const { return std::filesystem::exists(dir.Path() / "test.ini"); }
  // A path that cannot be written: its parent is a regular file.
  std::string Unwritable() const {
    std::ofstream(dir.Path() / "plain") << "x";
    return dir.File("plain/test.ini");
  }

  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem ws{in, out, err};
  Application app{ws};
  test::ScratchDir dir;
  clsINI ini;
};

TEST_P(IniSuite, MissingFileGivesDefaultsAndOneEmptyElementWithoutCreatingIt) {
  EXPECT_EQ(ini.GetKey("Options", "UseDate", "1"), "1");
  std::string kept = "caller's";
  ini.GetKeyValue("Options", "UseDate", kept);
  EXPECT_EQ(kept, "caller's");
  List list{"stale"};
  ini.GetSection("Options", list);
  EXPECT_EQ(list, List{""});
  list = {"stale"};
  ini.GetAllKeys("Options", list);
  EXPECT_EQ(list, List{""});
  list = {"stale"};
  ini.GetAllSections(list);
  EXPECT_EQ(list, List{""});
  EXPECT_FALSE(FileExists());
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_P(IniSuite, MissingSectionOrKeyInAnExistingFile) {
  WriteFile("[Other]\r\nkey=value\r\n");
  EXPECT_EQ(ini.GetKey("Options", "key", "default"), "default");
  EXPECT_EQ(ini.GetKey("Other", "absent", "default"), "default");
  List list;
  ini.GetAllKeys("Options", list);
  EXPECT_EQ(list, List{""});
}

TEST_P(IniSuite, FirstWriteCreatesFileSectionAndKeyAndLaterWritesReplace) {
  ini.WriteKeyValue("Options", "DateFormat", "yymmdd");
  EXPECT_TRUE(FileExists());
  EXPECT_EQ(ini.GetKey("Options", "DateFormat", ""), "yymmdd");
  ini.WriteKeyValue("Options", "DateFormat", "dd/mm/yyyy");
  ini.WriteKeyValue("Options", "Since", "2024-01-01");
  EXPECT_EQ(ini.GetKey("Options", "DateFormat", ""), "dd/mm/yyyy");
  List keys;
  ini.GetAllKeys("Options", keys);
  EXPECT_EQ(keys, (List{"DateFormat", "Since", ""}));
}

TEST_P(IniSuite, NamesMatchRegardlessOfCase) {
  ini.WriteKeyValue("Options", "FnOutput", "MSG");
  EXPECT_EQ(ini.GetKey("OPTIONS", "fnoutput", ""), "MSG");
  ini.WriteKeyValue("options", "FNOUTPUT", "TXT");
  List lines;
  ini.GetSection("Options", lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(ini.GetKey("Options", "FnOutput", ""), "TXT");
}

TEST_P(IniSuite, EmptyBlankAndEmptyQuotedValuesGiveTheDefault) {
  for (const char* stored : {"", "   ", "\"\"", "''"}) {
    ini.WriteKeyValue("Options", "DateFormat", stored);
    EXPECT_EQ(ini.GetKey("Options", "DateFormat", "yymmdd HHMMSS"), "yymmdd HHMMSS") << stored;
    std::string kept = "kept";
    ini.GetKeyValue("Options", "DateFormat", kept);
    EXPECT_EQ(kept, "kept") << stored;
  }
}

TEST_P(IniSuite, QuotesKeepBlanksAtTheEndsAndBareValuesLoseThem) {
  ini.WriteKeyValue("Options", "TextFormat", "\"%1 %2 \"");
  ini.WriteKeyValue("Options", "FnFormat", " %1 %2 ");
  ini.WriteKeyValue("Options", "Single", "' quoted '");
  ini.WriteKeyValue("Options", "Unpaired", "\"open");
  ini.WriteKeyValue("Options", "Inner", "a \"b\" c");
  EXPECT_EQ(ini.GetKey("Options", "TextFormat", ""), "%1 %2 ");
  EXPECT_EQ(ini.GetKey("Options", "FnFormat", ""), "%1 %2");
  EXPECT_EQ(ini.GetKey("Options", "Single", ""), " quoted ");
  EXPECT_EQ(ini.GetKey("Options", "Unpaired", ""), "\"open");
  EXPECT_EQ(ini.GetKey("Options", "Inner", ""), "a \"b\" c");
}

TEST_P(IniSuite, TextsOutsideAsciiComeBackAsWritten) {
  ini.WriteKeyValue("Grüße", "Schlüssel", "Straße – café");
  EXPECT_EQ(ini.GetKey("grüße", "Schlüssel", ""), "Straße – café");
  List sections;
  ini.GetAllSections(sections);
  EXPECT_EQ(sections, (List{"Grüße", ""}));
}

TEST_P(IniSuite, ValuesAreCutTo4094Characters) {
  const std::string fits(4094, 'a');
  ini.WriteKeyValue("S", "fits", fits);
  ini.WriteKeyValue("S", "over", fits + "b");
  ini.WriteKeyValue("S", "long", std::string(6000, 'c'));
  EXPECT_EQ(ini.GetKey("S", "fits", ""), fits);
  EXPECT_EQ(ini.GetKey("S", "over", ""), fits);
  EXPECT_EQ(ini.GetKey("S", "long", ""), std::string(4094, 'c'));
}

TEST_P(IniSuite, TheLimitCountsUtf16UnitsAndNeverSplitsACharacter) {
  // U+20AC takes one unit; U+1F600 takes two and does not fit in the last one.
  const std::string base(4093, 'a');
  ini.WriteKeyValue("S", "euro", base + "\xE2\x82\xAC\xE2\x82\xAC");
  ini.WriteKeyValue("S", "pair", base + "\xF0\x9F\x98\x80");
  EXPECT_EQ(ini.GetKey("S", "euro", ""), base + "\xE2\x82\xAC");
  // kernel32 writes the file in the 8-bit code page, which has no U+1F600.
  EXPECT_EQ(ini.GetKey("S", "pair", ""), GetParam() == "kernel32" ? base + "?" : base);
}

TEST_P(IniSuite, SectionListsItsLinesAndItsKeysInFileOrder) {
  WriteFile("[First]\r\nz=1\r\n[Options]\r\nUseDate = 1 \r\nTextFormat=\"%1 \"\r\n[Last]\r\na=2\r\n");
  List lines;
  ini.GetSection("Options", lines);
  EXPECT_EQ(lines, (List{"UseDate=1", "TextFormat=\"%1 \"", ""}));
  List keys;
  ini.GetAllKeys("Options", keys);
  EXPECT_EQ(keys, (List{"UseDate", "TextFormat", ""}));
  List sections;
  ini.GetAllSections(sections);
  EXPECT_EQ(sections, (List{"First", "Options", "Last", ""}));
}

TEST_P(IniSuite, SectionNamesPast254CharactersAreCut) {
  const std::string a(100, 'A'), b(100, 'B'), c(100, 'C');
  for (const auto& name : {a, b, c}) ini.WriteKeyValue(name, "k", "v");
  List sections;
  ini.GetAllSections(sections);
  // 101 + 101 characters fit; of the third name only what leaves room for two NULs.
  EXPECT_EQ(sections, (List{a, b, std::string(50, 'C'), ""}));
}

TEST_P(IniSuite, SectionNamesThatFillTheBufferExactly) {
  const std::string a(100, 'A'), b(100, 'B'), c(51, 'C');
  for (const auto& name : {a, b, c}) ini.WriteKeyValue(name, "k", "v");
  List sections;
  ini.GetAllSections(sections);
  EXPECT_EQ(sections, (List{a, b, std::string(50, 'C'), ""}));
}

TEST_P(IniSuite, KeyNamesPastTheListBufferAreCut) {
  std::vector<std::string> names;
  for (char c : std::string("ABCDE")) names.emplace_back(1000, c);
  for (const auto& name : names) ini.WriteKeyValue("S", name, "v");
  List keys;
  ini.GetAllKeys("S", keys);
  ASSERT_EQ(keys.size(), 6u);
  EXPECT_EQ(keys[3], names[3]);
  EXPECT_EQ(keys[4], std::string(4095 - 4 * 1001 - 2, 'E'));
  EXPECT_EQ(keys[5], "");
}

TEST_P(IniSuite, AddKeyAndDeleteKeyReportFailureAsMinusOne) {
  EXPECT_EQ(ini.AddKey("S", "k", "v"), 0);
  EXPECT_EQ(ini.GetKey("S", "k", ""), "v");
  EXPECT_EQ(ini.DeleteKey("S", "k"), 0);
  EXPECT_EQ(ini.GetKey("S", "k", "gone"), "gone");
  ini.SetFileName(Unwritable());
  EXPECT_EQ(ini.AddKey("S", "k", "v"), -1);
  EXPECT_NO_THROW(ini.WriteKeyValue("S", "k", "v"));
  EXPECT_EQ(ini.GetKey("S", "k", "none"), "none");
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST_P(IniSuite, WriteSectionReplacesOnlyThatSection) {
  WriteFile("[A]\r\nold=1\r\nolder=2\r\n[B]\r\nkeep=3\r\n");
  ini.WriteSection("A", std::string("new=4\0other=5\0", 14));
  List lines;
  ini.GetSection("A", lines);
  EXPECT_EQ(lines, (List{"new=4", "other=5", ""}));
  EXPECT_EQ(ini.GetKey("B", "keep", ""), "3");
  ini.WriteSection("C", std::string("x=6", 3));
  EXPECT_EQ(ini.GetKey("C", "x", ""), "6");
}

TEST_P(IniSuite, HandWrittenLinesAreReadAsTheSystemReadsThem) {
  WriteFile("; a comment\r\n[Options]\r\n; UseDate=0\r\n\r\n  UseDate  =  1  \r\nFormula=a=b\r\n");
  EXPECT_EQ(ini.GetKey("Options", "UseDate", ""), "1");
  EXPECT_EQ(ini.GetKey("Options", "Formula", ""), "a=b");
  List keys;
  ini.GetAllKeys("Options", keys);
  EXPECT_EQ(keys, (List{"UseDate", "Formula", ""}));
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST_P(IniSuite, Utf16FileWithByteOrderMarkIsReadAndWrittenBackAsUtf16) {
  WriteFile(Utf16Le(u"; note\r\n[S]\r\nk=\u00E9\r\n"));
  EXPECT_EQ(ini.GetKey("S", "k", ""), "\xC3\xA9");
  EXPECT_EQ(ini.AddKey("S", "new", "\xF0\x9F\x98\x80"), 0);
  EXPECT_EQ(ReadFile(), Utf16Le(u"; note\r\n[S]\r\nk=\u00E9\r\nnew=\U0001F600\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Profiles, IniSuite, ::testing::ValuesIn(AvailableProfiles()),
                         [](const auto& param_info) { return param_info.param; });

// A profile whose reads fail a given number of times before they work.
class FailingProfile final : public Profile {
 public:
  explicit FailingProfile(int failures) : failures_(failures) {}
  std::string_view Name() const override { return "failing"; }
  std::string GetString(const std::string&, const std::string&, int, const std::string&) const override {
    Fail();
    return "value";
  }
  std::string GetKeyNames(const std::string&, int, const std::string&) const override {
    Fail();
    return std::string("k1\0k2\0\0", 7);
  }
  std::string GetSectionNames(int, const std::string&) const override {
    Fail();
    return std::string("s\0\0", 3);
  }
  std::string GetSectionLines(const std::string&, int, const std::string&) const override {
    Fail();
    return std::string("k=v\0\0", 5);
  }
  bool WriteString(const std::string&, const std::string&, const std::optional<std::string>&,
                   const std::string&) const override {
    throw std::runtime_error("disk gone");
  }
  bool WriteSection(const std::string&, const std::string&, const std::string&) const override {
    throw std::runtime_error("disk gone");
  }
  mutable int calls = 0;

 private:
  void Fail() const {
    if (calls++ < failures_) throw std::bad_alloc();
  }
  int failures_;
};

class IniFailures : public ::testing::Test {
 protected:
  clsINI Make(int failures) {
    auto profile = std::make_unique<FailingProfile>(failures);
    profile_ = profile.get();
    return clsINI(app, std::move(profile));
  }
  std::istringstream in;
  std::ostringstream out, err;
  ConsoleWindowSystem ws{in, out, err};
  Application app{ws};
  FailingProfile* profile_ = nullptr;
};

TEST_F(IniFailures, ReadingFailureOffersAbortRetryIgnoreWithItsOwnTitle) {
  app.SetTitle("Quillstow");
  const clsINI ini = Make(1);
  ws.QueueAnswer(Answer::Abort);
  std::string value = "unchanged";
  ini.GetKeyValue("S", "k", value);
  EXPECT_EQ(value, "unchanged");
  ASSERT_EQ(ws.BoxesShown().size(), 1u);
  const auto& box = ws.BoxesShown()[0];
  EXPECT_EQ(box.title, "ProjectINI, Sub GetKeyValue");
  EXPECT_EQ(box.text, "7, Out of memory");
  EXPECT_EQ(box.buttons, Buttons::AbortRetryIgnore);
  EXPECT_EQ(box.icon, Icon::Exclamation);
}

TEST_F(IniFailures, RetryRunsTheFailedStepAgainAndAsksEachTime) {
  const clsINI ini = Make(2);
  ws.QueueAnswer(Answer::Retry);
  ws.QueueAnswer(Answer::Retry);
  List keys;
  ini.GetAllKeys("S", keys);
  EXPECT_EQ(keys, (List{"k1", "k2", ""}));
  EXPECT_EQ(ws.BoxesShown().size(), 2u);
  EXPECT_EQ(profile_->calls, 3);
}

TEST_F(IniFailures, IgnoreGoesOnWithoutTheFailedStep) {
  const clsINI ini = Make(1);
  ws.QueueAnswer(Answer::Ignore);
  List sections{"stale"};
  ini.GetAllSections(sections);
  EXPECT_EQ(sections, List{""});
  EXPECT_EQ(ws.BoxesShown().at(0).title, "ProjectINI, Sub GetAllSections");
  profile_->calls = 0;
  ws.QueueAnswer(Answer::Ignore);
  EXPECT_EQ(ini.GetKey("S", "k", "default"), "default");
}

TEST_F(IniFailures, EachReadingCallNamesItself) {
  const clsINI ini = Make(1);
  List lines{"stale"};
  ini.GetSection("S", lines);  // the console takes the default answer, Abort
  EXPECT_EQ(lines, List{"stale"});
  EXPECT_EQ(ws.BoxesShown().at(0).title, "ProjectINI, Sub GetSection");
  profile_->calls = 0;
  ini.GetAllKeys("S", lines);
  EXPECT_EQ(ws.BoxesShown().at(1).title, "ProjectINI, Sub GetAllKeys");
}

TEST_F(IniFailures, WritingCallsLetFailuresThrough) {
  const clsINI ini = Make(0);
  EXPECT_THROW(ini.AddKey("S", "k", "v"), std::runtime_error);
  EXPECT_THROW(ini.WriteKeyValue("S", "k", "v"), std::runtime_error);
  EXPECT_THROW(ini.DeleteKey("S", "k"), std::runtime_error);
  EXPECT_THROW(ini.WriteSection("S", "k=v"), std::runtime_error);
  EXPECT_TRUE(ws.BoxesShown().empty());
}

TEST(SplitNulList, EntriesUpToTheFirstEmptyOneAndOneEmptyAfter) {
  EXPECT_EQ(SplitNulList(std::string("a\0bc\0\0d\0", 8)), (List{"a", "bc", ""}));
  EXPECT_EQ(SplitNulList(std::string(10, '\0')), List{""});
  EXPECT_EQ(SplitNulList(""), List{""});
  EXPECT_EQ(SplitNulList("unterminated"), (List{"unterminated", ""}));
}

}  // namespace
}  // namespace qs

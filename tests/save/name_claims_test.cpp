#include "save/name_claims.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace qs {
namespace {

// Claims in order, each directory on its own: later items of a name are
// numbered past the taken names, names and directories compare without
// letter case, and directory names lose trailing blanks and dots.
TEST(NameClaims, LaterItemsOfTheSameNameAreNumbered) {
  const struct {
    const char *dir, *name, *extension;
    bool directory;
    const char* claimed;
  } claims_in_order[] = {
      {"/s/", "name", ".msg", false, "name.msg"},
      {"/s/", "name", ".msg", false, "name (2).msg"},
      {"/s/", "name", ".msg", false, "name (3).msg"},
      {"/s/", "", ".msg", false, ".msg"},
      {"/s/", "", ".msg", false, " (2).msg"},
      {"/t/", "Name", ".txt", false, "Name.txt"},
      {"/t/", "NAME", ".TXT", false, "NAME (2).TXT"},
      {"/T/", "name", ".txt", false, "name (3).txt"},
      {"/t/", "\xC3\x84rger", "", false, "\xC3\x84rger"},      // Ärger
      {"/t/", "\xC3\xA4RGER", "", false, "\xC3\xA4RGER (2)"},  // äRGER
      {"/a/", "x", ".pdf", false, "x.pdf"},
      {"/a/", "x (2)", ".pdf", false, "x (2).pdf"},
      {"/a/", "x", ".pdf", false, "x (3).pdf"},
      {"/d/", "hello . ", "", true, "hello"},
      {"/d/", "hello.", "", true, "hello (2)"},
      {"/d/", "hello ", ".txt", false, "hello .txt"},
  };
  NameClaims claims;
  for (const auto& c : claims_in_order)
    EXPECT_EQ(claims.Claim(c.dir, c.name, c.extension, c.directory), c.claimed) << c.dir << c.name;
}

TEST(NameClaims, LongNamesAreCutToFitWithTheirNumberAndExtension) {
  NameClaims claims;
  const std::string stem(256, 'x');
  EXPECT_EQ(claims.Claim("/s/", stem, ".msg"), std::string(kMaxFileNameLength - 4, 'x') + ".msg");
  EXPECT_EQ(claims.Claim("/s/", stem, ".msg"), std::string(kMaxFileNameLength - 8, 'x') + " (2).msg");
  // A cut directory name may end in blanks, which then go as well.
  EXPECT_EQ(claims.Claim("/s/", std::string(250, 'y') + "     zz", {}, true), std::string(250, 'y'));
  const std::string name = claims.Claim("/s/", "a", std::string(".") + std::string(300, 'e'));
  EXPECT_LE(FileNameLength(name), kMaxFileNameLength) << "an extension too long is cut too";
  EXPECT_EQ(name.substr(0, 3), "a.e");
}

TEST(NameClaims, CutsFallBetweenCharactersAndFillTheLimit) {
  NameClaims claims;
  const std::string e_acute = "\xC3\xA9";
  std::string stem;
  for (int i = 0; i < 256; ++i) stem += e_acute;
  const std::string name = claims.Claim("/s/", stem, ".txt");
  ASSERT_GE(name.size(), 4u);
  const std::string kept = name.substr(0, name.size() - 4);
  EXPECT_EQ(name.substr(name.size() - 4), ".txt");
  EXPECT_EQ(kept.size() % 2, 0u) << "a character was split";
  EXPECT_EQ(stem.compare(0, kept.size(), kept), 0);
  EXPECT_LE(FileNameLength(name), kMaxFileNameLength);
  // One character more would not have fitted.
  EXPECT_GT(FileNameLength(name) + FileNameLength(e_acute), kMaxFileNameLength);
}

TEST(SplitExtension, SplitsBeforeTheLastDotButNotALeadingOne) {
  using Parts = std::pair<std::string_view, std::string_view>;
  const std::pair<const char*, Parts> cases[] = {
      {"a.pdf", {"a", ".pdf"}},       {"archive.tar.gz", {"archive.tar", ".gz"}},
      {".profile", {".profile", ""}}, {"README", {"README", ""}},
      {"a.", {"a", "."}}};
  for (const auto& [name, parts] : cases) EXPECT_EQ(SplitExtension(name), parts) << name;
}

}  // namespace
}  // namespace qs

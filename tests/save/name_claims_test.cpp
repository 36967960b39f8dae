#include "save/name_claims.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace qs {
namespace {

TEST(NameClaims, LaterItemsOfTheSameNameAreNumbered) {
  NameClaims claims;
  EXPECT_EQ(claims.Claim("/s/", "name", ".msg"), "name.msg");
  EXPECT_EQ(claims.Claim("/s/", "name", ".msg"), "name (2).msg");
  EXPECT_EQ(claims.Claim("/s/", "name", ".msg"), "name (3).msg");
  EXPECT_EQ(claims.Claim("/s/", "other", ".msg"), "other.msg");
  EXPECT_EQ(claims.Claim("/s/", "", ".msg"), ".msg");
  EXPECT_EQ(claims.Claim("/s/", "", ".msg"), " (2).msg");
}

TEST(NameClaims, NamesCompareWithoutLetterCase) {
  NameClaims claims;
  EXPECT_EQ(claims.Claim("/s/", "Name", ".txt"), "Name.txt");
  EXPECT_EQ(claims.Claim("/s/", "NAME", ".TXT"), "NAME (2).TXT");
  EXPECT_EQ(claims.Claim("/s/", "\xC3\x84rger", ""), "\xC3\x84rger");      // Ärger
  EXPECT_EQ(claims.Claim("/s/", "\xC3\xA4RGER", ""), "\xC3\xA4RGER (2)");  // äRGER
  EXPECT_EQ(claims.Claim("/s/", "\xD0\x9F", ""), "\xD0\x9F");              // Cyrillic Pe
  EXPECT_EQ(claims.Claim("/s/", "\xD0\xBF", ""), "\xD0\xBF (2)");
  // The directories compare the same way.
  EXPECT_EQ(claims.Claim("/S/", "name", ".txt"), "name (3).txt");
}

TEST(NameClaims, DirectoriesAreSeparateAndNumbersSkipTakenNames) {
  NameClaims claims;
  EXPECT_EQ(claims.Claim("/a/", "x", ".pdf"), "x.pdf");
  EXPECT_EQ(claims.Claim("/b/", "x", ".pdf"), "x.pdf");
  EXPECT_EQ(claims.Claim("/a/", "x (2)", ".pdf"), "x (2).pdf");
  EXPECT_EQ(claims.Claim("/a/", "x", ".pdf"), "x (3).pdf");
}

TEST(NameClaims, DirectoryNamesLoseTrailingBlanksAndDots) {
  NameClaims claims;
  EXPECT_EQ(claims.Claim("/s/", "hello . ", {}, true), "hello");
  EXPECT_EQ(claims.Claim("/s/", "hello.", {}, true), "hello (2)");
  EXPECT_EQ(claims.Claim("/s/", "hello ", ".txt"), "hello .txt");
}

TEST(NameClaims, LongNamesAreCutToFitWithTheirNumberAndExtension) {
  NameClaims claims;
  const std::string stem(256, 'x');
  const std::string first = claims.Claim("/s/", stem, ".msg");
  const std::string second = claims.Claim("/s/", stem, ".msg");
  EXPECT_EQ(first, std::string(kMaxFileNameLength - 4, 'x') + ".msg");
  EXPECT_EQ(second, std::string(kMaxFileNameLength - 8, 'x') + " (2).msg");
  // A cut directory name may end in blanks, which then go as well.
  const std::string spaced = std::string(250, 'y') + "     zz";
  EXPECT_EQ(claims.Claim("/s/", spaced, {}, true), std::string(250, 'y'));
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

TEST(NameClaims, AnExtensionTooLongForAnyStemIsCutToo) {
  NameClaims claims;
  const std::string name = claims.Claim("/s/", "a", std::string(".") + std::string(300, 'e'));
  EXPECT_LE(FileNameLength(name), kMaxFileNameLength);
  EXPECT_EQ(name.substr(0, 3), "a.e");
}

TEST(SplitExtension, SplitsBeforeTheLastDotButNotALeadingOne) {
  using Parts = std::pair<std::string_view, std::string_view>;
  EXPECT_EQ(SplitExtension("a.pdf"), Parts("a", ".pdf"));
  EXPECT_EQ(SplitExtension("archive.tar.gz"), Parts("archive.tar", ".gz"));
  EXPECT_EQ(SplitExtension(".profile"), Parts(".profile", ""));
  EXPECT_EQ(SplitExtension("README"), Parts("README", ""));
  EXPECT_EQ(SplitExtension("a."), Parts("a", "."));
}

}  // namespace
}  // namespace qs

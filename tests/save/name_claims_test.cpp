#include "save/name_claims.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace qs {
namespace {

// Claims in order, each directory on its own: later items of a name are
// numbered past the taken names, names and directories compare without
// letter case in any script, and directory names ("/") lose trailing blanks
// and dots.
TEST(NameClaims, LaterItemsOfTheSameNameAreNumbered) {
  const std::pair<const char*, const char*> claims_in_order[] = {
      {"/s/ name .msg", "name.msg"},  {"/s/ name .msg", "name (2).msg"}, {"/s/ name .msg", "name (3).msg"},
      {"/s/  .msg", ".msg"},          {"/s/  .msg", " (2).msg"},         {"/S/ NAME .MSG", "NAME (4).MSG"},
      {"/t/ \xC3\x84rger ", "\xC3\x84rger"},  {"/t/ \xC3\xA4RGER ", "\xC3\xA4RGER (2)"},
      {"/a/ x (2) .pdf", "x (2).pdf"}, {"/a/ x .pdf", "x.pdf"},  {"/a/ x .pdf", "x (3).pdf"},
      {"/d/ hello . /", "hello"},     {"/d/ hello. /", "hello (2)"},    {"/d/ hello  .txt", "hello .txt"},
      // Armenian, DŽ in its three cases, Georgian, Cherokee (folding to upper case), Deseret.
      {"/u/ \xD4\xB1 .txt", "\xD4\xB1.txt"},           {"/u/ \xD5\xA1 .txt", "\xD5\xA1 (2).txt"},
      {"/u/ \xC7\x84 .txt", "\xC7\x84.txt"},           {"/u/ \xC7\x85 .txt", "\xC7\x85 (2).txt"},
      {"/u/ \xC7\x86 .txt", "\xC7\x86 (3).txt"},       {"/u/ \xE1\xB2\x90 /", "\xE1\xB2\x90"},
      {"/u/ \xE1\x83\x90 /", "\xE1\x83\x90 (2)"},     {"/u/ \xE1\x8E\xA0 .txt", "\xE1\x8E\xA0.txt"},
      {"/u/ \xEA\xAD\xB0 .txt", "\xEA\xAD\xB0 (2).txt"}, {"/u/ \xF0\x90\x90\x80 .txt", "\xF0\x90\x90\x80.txt"},
      {"/u/ \xF0\x90\x90\xA8 .txt", "\xF0\x90\x90\xA8 (2).txt"}};
  NameClaims claims;
  for (const auto& [claim, claimed] : claims_in_order) {
    const std::string text = claim;
    const auto first = text.find(' '), last = text.rfind(' ');
    const std::string extension = text.substr(last + 1);
    const bool directory = extension == "/";
    EXPECT_EQ(claims.Claim(text.substr(0, first), text.substr(first + 1, last - first - 1),
                           directory ? "" : extension, directory),
              claimed)
        << claim;
  }
}

TEST(NameClaims, LongNamesAreCutBetweenCharactersToFitWithNumberAndExtension) {
  NameClaims claims;
  const std::string stem(256, 'x');
  EXPECT_EQ(claims.Claim("/s/", stem, ".msg"), std::string(kMaxFileNameLength - 4, 'x') + ".msg");
  EXPECT_EQ(claims.Claim("/s/", stem, ".msg"), std::string(kMaxFileNameLength - 8, 'x') + " (2).msg");
  // A cut directory name may end in blanks, which then go as well.
  EXPECT_EQ(claims.Claim("/s/", std::string(250, 'y') + "     zz", {}, true), std::string(250, 'y'));
  const std::string cut_extension = claims.Claim("/s/", "a", "." + std::string(300, 'e'));
  EXPECT_TRUE(cut_extension.starts_with("a.e") && FileNameLength(cut_extension) <= kMaxFileNameLength);
  std::string accented;
  for (int i = 0; i < 256; ++i) accented += "\xC3\xA9";
  const std::string name = claims.Claim("/s/", accented, ".txt");
  EXPECT_EQ(name, accented.substr(0, name.size() - 4) + ".txt");
  EXPECT_EQ(name.size() % 2, 0u) << "a character was split";
  EXPECT_GT(FileNameLength(name) + FileNameLength("\xC3\xA9"), kMaxFileNameLength)
      << "one more would not have fitted";
}

TEST(SplitExtension, SplitsBeforeTheLastDotButNotALeadingOne) {
  using Parts = std::pair<std::string_view, std::string_view>;
  const std::pair<const char*, Parts> cases[] = {
      {"archive.tar.gz", {"archive.tar", ".gz"}}, {".profile", {".profile", ""}}, {"README", {"README", ""}},
      {"a.", {"a", "."}}};
  for (const auto& [name, parts] : cases) EXPECT_EQ(SplitExtension(name), parts) << name;
}

}  // namespace
}  // namespace qs

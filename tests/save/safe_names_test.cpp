#include "save/safe_names.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/system.h"

namespace qs {
namespace {

// What a name that would begin with a dot gets in front: "_" where such a
// name is hidden, nothing on Windows.
std::string Dot() { return LeadingDotHides() ? "_" : ""; }

TEST(DeviceNames, AreKnownInAnyCaseWithOrWithoutExtension) {
  for (const char* name : {"CON", "con", "Prn", "aux", "NUL", "COM1", "com9", "LPT1", "lpt9",
                           "con.txt", "NUL.tar.gz", "nul .txt", "CON ", "CONIN$", "conout$.x"})
    EXPECT_TRUE(IsDeviceName(name)) << name;
  for (const char* name : {"", "CONSOLE", "xCON", "COM0", "COM10", "LPT", "COM", "NUL_",
                           "_CON", ".con", "con-txt"})
    EXPECT_FALSE(IsDeviceName(name)) << name;
}

TEST(SafeNames, ChangeOnlyNamesTheFileSystemWouldMisread) {
  const std::pair<std::string, std::string> entries[] = {
      {"", "_"},          {".", "_"},          {"..", "__"},
      {"...", "___"},     {"   ", "_"},        {" . ", "_"},
      {"Re  hello . .", "Re  hello"},          {"CON", "_CON"},
      {"aux.txt", "_aux.txt"},                 {"lpt1. ", "_lpt1"},
      {".hidden", Dot() + ".hidden"},          {" Report 2009.pdf", " Report 2009.pdf"}};
  for (const auto& [name, safe] : entries) EXPECT_EQ(SafeEntryName(name), safe) << name;

  const std::string sep(1, PathSeparator());
  const std::pair<std::string, std::string> subfolders[] = {
      {".git", Dot() + ".git"},
      {".." + sep + ".." + sep + "etc", "__" + sep + "__" + sep + "etc"},
      {"a" + sep + "." + sep + "b", "a" + sep + "_" + sep + "b"},
      {"Projects" + sep + "CON", "Projects" + sep + "_CON"},
      {"a" + sep + sep + "b", "a" + sep + "b"},
      {"", ""},
      // Folder names lose what Windows cannot keep in a name.
      {"Q&A?" + sep + "a<b>|c*\"d\"", "Q&A" + sep + "a b  c  d"}};
  for (const auto& [path, safe] : subfolders) EXPECT_EQ(SafeSubfolder(path), safe) << path;

  const std::pair<std::string, std::string> bases[] = {
      {"CON", "_CON"}, {"nul.x", "_nul.x"}, {"", Dot()}, {"..", Dot() + ".."}, {"CONTRACT", "CONTRACT"}};
  for (const auto& [base, safe] : bases) EXPECT_EQ(SafeFileBaseName(base, ".msg"), safe) << base;
}

}  // namespace
}  // namespace qs

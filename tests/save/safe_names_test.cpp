#include "save/safe_names.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/system.h"

namespace qs {
namespace {

// What a name that would begin with a dot gets in front: "_" where such a
// name is hidden, nothing on Windows.
std::string Dot() { return LeadingDotHides() ? "_" : ""; }

// Devices are CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$ and
// CONOUT$ in any letter case, with or without an extension.
TEST(SafeNames, ChangeOnlyNamesTheFileSystemWouldMisread) {
  const std::pair<std::string, std::string> entries[] = {
      {"", "_"},          {".", "_"},          {"..", "__"},
      {"...", "___"},     {"   ", "_"},        {" . ", "_"},
      {"Re  hello . .", "Re  hello"},          {"CON", "_CON"},
      {"aux.txt", "_aux.txt"},                 {"lpt1. ", "_lpt1"},
      {"com9.tar.gz", "_com9.tar.gz"},         {"nul .txt", "_nul .txt"},
      {"CONIN$", "_CONIN$"},                   {"Prn", "_Prn"},
      {"COM0", "COM0"},                        {"COM10", "COM10"},
      {"CONSOLE", "CONSOLE"},                  {"con-txt", "con-txt"},
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

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

TEST(SafeEntryName, ChangesOnlyNamesTheFileSystemWouldMisread) {
  EXPECT_EQ(SafeEntryName(""), "_");
  EXPECT_EQ(SafeEntryName("."), "_");
  EXPECT_EQ(SafeEntryName(".."), "__");
  EXPECT_EQ(SafeEntryName("..."), "___");
  EXPECT_EQ(SafeEntryName("   "), "_");
  EXPECT_EQ(SafeEntryName(" . "), "_");
  EXPECT_EQ(SafeEntryName("Re  hello . ."), "Re  hello");
  EXPECT_EQ(SafeEntryName("CON"), "_CON");
  EXPECT_EQ(SafeEntryName("aux.txt"), "_aux.txt");
  EXPECT_EQ(SafeEntryName("lpt1. "), "_lpt1");
  EXPECT_EQ(SafeEntryName(".hidden"), Dot() + ".hidden");
  EXPECT_EQ(SafeEntryName(" Report 2009.pdf"), " Report 2009.pdf");
}

TEST(SafeSubfolder, MakesEveryLevelSafe) {
  EXPECT_EQ(SafeSubfolder(".git"), Dot() + ".git");
  const std::string sep(1, PathSeparator());
  EXPECT_EQ(SafeSubfolder(".." + sep + ".." + sep + "etc"), "__" + sep + "__" + sep + "etc");
  EXPECT_EQ(SafeSubfolder("a" + sep + "." + sep + "b"), "a" + sep + "_" + sep + "b");
  EXPECT_EQ(SafeSubfolder("Projects" + sep + "CON"), "Projects" + sep + "_CON");
  EXPECT_EQ(SafeSubfolder("Projects" + sep + "2009"), "Projects" + sep + "2009");
  EXPECT_EQ(SafeSubfolder("a" + sep + sep + "b"), "a" + sep + "b");
  EXPECT_EQ(SafeSubfolder(""), "");
  EXPECT_EQ(SafeSubfolder("Q&A?" + sep + "a<b>|c*\"d\""), "Q&A" + sep + "a b  c  d")
      << "folder names lose what Windows cannot keep in a name";
}

TEST(SafeFileBaseName, GuardsAgainstDevicesAndHiddenNames) {
  EXPECT_EQ(SafeFileBaseName("CON", ".msg"), "_CON");
  EXPECT_EQ(SafeFileBaseName("nul.x", ".txt"), "_nul.x");
  EXPECT_EQ(SafeFileBaseName("", ".msg"), Dot());
  EXPECT_EQ(SafeFileBaseName("..", ".msg"), Dot() + "..");
  EXPECT_EQ(SafeFileBaseName("CONTRACT", ".msg"), "CONTRACT");
}

}  // namespace
}  // namespace qs

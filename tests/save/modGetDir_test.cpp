#include "save/modGetDir.h"

#include <gtest/gtest.h>

#include "platform/system.h"

namespace qs {
namespace {

TEST(DirectoryOfFolderPath, EndsInTheSeparatorUnlessVirtual) {
  const char sep = PathSeparator();
  EXPECT_EQ(DirectoryOfFolderPath(std::string("C:") + sep + "Mail"),
            std::string("C:") + sep + "Mail" + sep);
  EXPECT_EQ(DirectoryOfFolderPath(std::string("C:") + sep), std::string("C:") + sep);
  EXPECT_EQ(DirectoryOfFolderPath(std::string(1, sep)), std::string(1, sep));
  // The shell's virtual folders are named by a text that starts with ":".
  EXPECT_EQ(DirectoryOfFolderPath("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
            "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  EXPECT_EQ(DirectoryOfFolderPath(""), "");
}

}  // namespace
}  // namespace qs

#include "mailstore/dirstore/saveas/short_file_name.h"

#include <gtest/gtest.h>

namespace qs::dirstore {
namespace {

TEST(ShortFileName, EightThreeFormsOfLongNames) {
  EXPECT_EQ(ShortFileName("report.pdf"), "REPORT.PDF");
  EXPECT_EQ(ShortFileName("Preisliste 2019.pdf"), "PREISL~1.PDF");
  EXPECT_EQ(ShortFileName("archive.tar.gz"), "ARCHIV~1.GZ");
  EXPECT_EQ(ShortFileName("page.html"), "PAGE~1.HTM");
  EXPECT_EQ(ShortFileName("白牡丹.txt"), "ATT~1.TXT");
  EXPECT_EQ(ShortFileName("README"), "README");
}

}  // namespace
}  // namespace qs::dirstore

#include "save/frmProgress.h"

#include <gtest/gtest.h>

#include "list_fixture.h"

namespace qs {
namespace {

TEST(frmProgress, NumbersKeepTheBlankOfTheirSign) {
  test::ListFixture fixture;
  frmProgress form(fixture.app);
  form.Load();
  form.ProgressBar1.SetRange(0, 12);
  form.ShowItem(3, 12);
  EXPECT_EQ(form.txtStatus.Caption(), "Saving  3 of  12");
  EXPECT_EQ(form.ProgressBar1.Value(), 3);
  form.ShowItem(12, 12);
  EXPECT_EQ(form.txtStatus.Caption(), "Saving  12 of  12");
  EXPECT_EQ(form.ProgressBar1.Value(), 12);
  form.Unload();
}

}  // namespace
}  // namespace qs

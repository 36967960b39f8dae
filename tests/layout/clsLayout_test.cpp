#include "layout/clsLayout.h"

#include <gtest/gtest.h>

#include "layout/leading_number.h"
#include "platform/form.h"
#include "tests/common/console_session.h"

namespace qs {
namespace {

// A tag's share: the number after the key, over the one after "/", the
// numerator rounded half to even; keys are case-sensitive and the first
// counts; a missing key is no share.
TEST(LayoutShare, ReadsNumeratorOverDenominator) {
  const struct {
    const char *tag, *key;
    double share;
  } cases[] = {
      {"X=1", "X=", 1.0},      {"W=1/2", "W=", 0.5},   {"X=3/2", "X=", 1.5},    {"X=0.5", "X=", 0.0},
      {"X=1.5", "X=", 2.0},    {"X=1/2/3", "X=", 0.5}, {"Y=1 W=1", "W=", 1.0},  {"Y=1 W=1", "H=", 0.0},
      {"x=1", "X=", 0.0},      {"X=1 X=2", "X=", 1.0}, {"X= 1", "X=", 0.0},     {"X=-1", "X=", -1.0},
      {"X=2e1/4", "X=", 5.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(clsLayout::GetOpt(c.tag, c.key), c.share) << c.tag << " " << c.key;
  for (const char* tag : {"X=1/0", "X=0/0", "X=1/"})
    EXPECT_THROW(clsLayout::GetOpt(tag, "X="), std::domain_error) << tag;
  EXPECT_THROW(clsLayout::GetOpt("X=40000", "X="), std::out_of_range);
}

TEST(LeadingNumber, StopsAtTheFirstOtherCharacter) {
  const std::pair<const char*, int> cases[] = {{"12abc", 12}, {"abc", 0},   {"", 0},        {"-2.5", -2},
                                               {".6", 1},     {"1e", 1},    {"32767", 32767}, {"-32768", -32768}};
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingWholeNumber(text), number) << text;
  EXPECT_THROW(LeadingWholeNumber("32767.5"), std::out_of_range);
}

class TestControl : public Control {
 public:
  TestControl(Form& owner, std::string name, const char* type) : Control(owner, name), type_(type) {}
  const char* TypeName() const override { return type_; }

 private:
  const char* type_;
};

class Layout : public ::testing::Test {
 protected:
  Layout() { form.Load(); }
  Control& Add(const char* name, const char* tag, const char* type = "TextBox") {
    auto& control = form.Add<TestControl>(name, type);
    control.Move(100, 200, 300, 400);
    control.SetTag(tag);
    return control;
  }
  testing::ConsoleSession session;
  Form form{session.app, "f", "f", 5000, 3000};
};

TEST_F(Layout, UnreadableTagsLeaveOnlyThatControlOut) {
  Add("a", "X=1");
  Add("bad", "X=1/0");
  Add("zero", "X=0/0");
  Add("c", "W=1");
  form.Add<MenuItem>("menu", "&Menu").SetTag("X=1");
  Add("bar", "X=1", "Toolbar");
  clsLayout layout;
  layout.SetLayout(form);
  std::vector<std::string> names;
  for (const auto& record : layout.ControlList()) names.push_back(record.Ctrl->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(layout.MinWidth(), 5000);
  EXPECT_EQ(layout.MinHeight(), 3000);
}

TEST_F(Layout, RedrawUsesGrowthBeyondTheMinimumOnly) {
  auto& half = Add("half", "X=1/2 Y=1 W=-1 H=3/2");
  auto& still = Add("still", "");
  auto& toolbar = Add("toolbar", "X=1", "Toolbar");
  clsLayout layout;
  layout.SetLayout(form);
  form.Resize(5600, 3300);
  layout.RedrawLayout();
  EXPECT_EQ(half.Left(), 400);
  EXPECT_EQ(half.Top(), 500);
  EXPECT_EQ(half.Width(), 0) << "a shrinking share stops at zero";
  EXPECT_EQ(half.Height(), 850);
  EXPECT_EQ(still.Left(), 100);
  EXPECT_EQ(toolbar.Left(), 100);
  still.Move(1, 2, 3, 4);
  form.Resize(4000, 2000);
  layout.RedrawLayout();
  EXPECT_EQ(half.Left(), 100);
  EXPECT_EQ(half.Width(), 300);
  EXPECT_EQ(still.Left(), 100) << "every recorded control is put back on each redraw";
}

TEST_F(Layout, MinimumCanBeSetAndRounds) {
  clsLayout layout;
  layout.SetMinWidth(100.5f);
  layout.SetMinHeight(101.5f);
  EXPECT_EQ(layout.MinWidth(), 100);
  EXPECT_EQ(layout.MinHeight(), 102);
  layout.RedrawLayout();  // no form yet: nothing to do, and no crash
}

}  // namespace
}  // namespace qs

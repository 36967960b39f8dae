#include "layout/clsLayout.h"

#include <gtest/gtest.h>

#include "platform/form.h"
#include "tests/common/console_session.h"

namespace qs {
namespace {

struct TestControl : Control {
  TestControl(Form& owner, std::string name, const char* kind) : Control(owner, name), type(kind) {}
  const char* TypeName() const override { return type; }
  const char* type;
};

// Controls move and grow by their shares of the growth beyond the form's
// size at SetLayout, a shrinking share stopping at zero; unreadable tags
// (no number, out of range), menus and toolbars are left out.
TEST(Layout, RedrawUsesGrowthBeyondTheMinimumOnly) {
  testing::ConsoleSession session;
  Form form(session.app, "f", "f", 5000, 3000);
  form.Load();
  const auto add = [&](const char* name, const char* tag, const char* type = "TextBox") -> Control& {
    auto& control = form.Add<TestControl>(name, type);
    control.Move(100, 200, 300, 400);
    control.SetTag(tag);
    return control;
  };
  auto& half = add("half", "X=0.5e1/1e1 Y=1 W=-1 H=3/2");  // 5/10
  auto& still = add("still", "");
  auto& bad = add("bad", "X=1/0");
  add("big", "X=40000");
  auto& toolbar = add("toolbar", "X=1", "Toolbar");
  form.Add<MenuItem>("menu", "&Menu").SetTag("X=1");
  clsLayout layout;
  layout.SetLayout(form);
  EXPECT_EQ(layout.ControlList().size(), 2u);
  form.Resize(5600, 3300);
  layout.RedrawLayout();
  EXPECT_EQ(std::vector({half.Left(), half.Top(), half.Width(), half.Height()}),
            std::vector({400, 500, 0, 850}));
  EXPECT_EQ(bad.Left() + toolbar.Left(), 200);
  still.Move(1, 2, 3, 4);
  form.Resize(4000, 2000);
  layout.RedrawLayout();
  EXPECT_EQ(std::vector({half.Left(), half.Width(), still.Left()}), std::vector({100, 300, 100}))
      << "every recorded control is put back on each redraw";
  clsLayout().RedrawLayout();  // no form yet: nothing to do, and no crash
}

}  // namespace
}  // namespace qs

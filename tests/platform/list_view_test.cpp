#include "platform/list_view.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/application.h"
#include "platform/console/console_window_system.h"
#include "platform/form.h"

namespace qs {
namespace {

// Counts what a native view would be told.
class RecordingPeer : public ControlPeer {
 public:
  void Update(Change what, int index) override { updates.emplace_back(what, index); }
  std::vector<std::pair<Change, int>> updates;
};

class List : public ::testing::Test {
 protected:
  List() : windows(in, out, out), app(windows), form(app, "f", "f", 100, 100),
           list(form.Add<ListView>("List")) {}
  std::istringstream in;
  std::ostringstream out;
  ConsoleWindowSystem windows;
  Application app;
  Form form;
  ListView& list;
};

TEST_F(List, RowsAreNumberedFromOneInOrder) {
  EXPECT_EQ(list.AddRow("first"), 1);
  EXPECT_EQ(list.AddRow("second"), 2);
  list.SetText(2, 3, "third column");
  EXPECT_EQ(list.Text(1, 0), "first");
  EXPECT_EQ(list.Text(2, 3), "third column");
  EXPECT_EQ(list.Text(2, 1), "") << "columns skipped over read empty";
  EXPECT_EQ(list.Text(1, 7), "");
  EXPECT_EQ(list.SubItemCount(1), 0);
  EXPECT_EQ(list.SubItemCount(2), 3);
}

TEST_F(List, RewritingATextKeepsTheOthers) {
  const auto row = list.AddRow("own");
  list.SetText(row, 3, "three");
  list.SetText(row, 1, "a much longer first text");
  list.SetText(row, 3, "3");
  list.SetText(row, 0, "");
  list.SetText(row, 2, "two");
  EXPECT_EQ(list.Text(row, 0), "");
  EXPECT_EQ(list.Text(row, 1), "a much longer first text");
  EXPECT_EQ(list.Text(row, 2), "two");
  EXPECT_EQ(list.Text(row, 3), "3");
  EXPECT_EQ(list.SubItemCount(row), 3);
  EXPECT_THROW(list.SetText(row, ListView::kMaxColumns, "x"), std::out_of_range);
}

TEST_F(List, OutOfRangeRowsFail) {
  list.AddRow("only");
  EXPECT_THROW(list.Text(0, 0), std::out_of_range);
  EXPECT_THROW(list.Text(2, 0), std::out_of_range);
  EXPECT_THROW(list.SetText(2, 1, "x"), std::out_of_range);
  EXPECT_THROW(list.Text(1, -1), std::out_of_range);
  list.Clear();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_THROW(list.Text(1, 0), std::out_of_range);
}

TEST_F(List, HoldsMoreRowsThanASixteenBitCount) {
  for (int i = 0; i < 70000; ++i) list.AddRow(std::to_string(i));
  EXPECT_EQ(list.RowCount(), 70000);
  EXPECT_EQ(list.Text(70000, 0), "69999");
}

TEST_F(List, ThePeerHearsOfEveryChange) {
  auto peer = std::make_unique<RecordingPeer>();
  RecordingPeer& seen = *peer;
  list.SetPeer(std::move(peer));
  list.AddColumn("A");
  list.AddRow("r");
  list.SetText(1, 1, "x");
  list.Clear();
  const std::vector<std::pair<Change, int>> expected = {
      {Change::Columns, 0}, {Change::RowCount, 0}, {Change::Cell, 1}, {Change::RowCount, 0}};
  EXPECT_EQ(seen.updates, expected);
}

TEST(Controls, RejectImpossibleStates) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleWindowSystem windows(in, out, out);
  Application app(windows);
  Form form(app, "f", "f", 100, 100);
  auto& check = form.Add<CheckBox>("ck");
  EXPECT_THROW(check.SetValue(3), std::invalid_argument);
  auto& bar = form.Add<ProgressBar>("bar");
  bar.SetRange(0, 10);
  EXPECT_THROW(bar.SetValue(11), std::out_of_range);
  EXPECT_THROW(bar.SetRange(5, 1), std::invalid_argument);
  auto& menu = form.Add<MenuItem>("mnu", "&Menu");
  EXPECT_THROW(menu.Left(), std::logic_error) << "a menu entry has no place";
  auto& box = form.Add<TextBox>("txt");
  EXPECT_THROW(box.Move(0, 0, -1, 10), std::invalid_argument);
  int changes = 0;
  box.onChange = [&] { ++changes; };
  box.SetText("a");
  box.SetText("a");
  box.TextEditedByUser("b");
  EXPECT_EQ(changes, 2) << "only real changes raise the change event";
}

}  // namespace
}  // namespace qs

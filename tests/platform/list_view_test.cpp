#include "platform/list_view.h"

#include <gtest/gtest.h>

#include "platform/form.h"
#include "tests/common/console_session.h"
#include "tests/platform/table_rows.h"

namespace qs {
namespace {

// Counts what a native view would be told.
class RecordingPeer : public ControlPeer {
 public:
  void Update(Change what, int index) override { updates.emplace_back(what, index); }
  std::vector<std::pair<Change, int>> updates;
};

TEST(ListView, ShowsTheRowsItIsGivenAndTellsThePeer) {
  testing::ConsoleSession session;
  Form form(session.app, "f", "f", 100, 100);
  auto& list = form.Add<ListView>("List");
  auto peer = std::make_unique<RecordingPeer>();
  RecordingPeer& seen = *peer;
  list.SetPeer(std::move(peer));
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_THROW(list.Text(1, 0), std::out_of_range) << "no rows shown yet";
  list.AddColumn("A");
  test::TableRows rows;
  rows.rows = {{"a1", "b1"}, {"a2", "b2"}};
  list.ShowRows(rows);
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.Text(2, 1), "b2");
  rows.rows.pop_back();
  list.RowsChanged();
  EXPECT_EQ(list.RowCount(), 1);
  const std::vector<std::pair<Change, int>> expected = {
      {Change::Columns, 0}, {Change::RowCount, 0}, {Change::RowCount, 0}};
  EXPECT_EQ(seen.updates, expected);
}

TEST(Controls, RejectImpossibleStates) {
  testing::ConsoleSession session;
  Form form(session.app, "f", "f", 100, 100);
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

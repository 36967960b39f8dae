#pragma once
// A report-view list whose rows the native list view never holds: it asks for
// each visible cell's text when it draws it.

#include <string>

#include "platform/list_view.h"
#include "platform/win32/control_peers.h"

namespace qs::win32 {

class ListViewPeer : public ChildPeer {
 public:
  ListViewPeer(FormWindow& window, ListView& list);
  LRESULT Notify(const NMHDR& header) override;
  void Settle() override;

 protected:
  void UpdateOwn(Change what, int index) override;

 private:
  void ShowColumns();
  void ShowRowCount();

  ListView& list_;
  // While rows arrive the view neither redraws nor updates its scroll bars
  // (each of those costs milliseconds); it settles once the program returns
  // to the message loop.
  bool settling_ = false;
};

}  // namespace qs::win32

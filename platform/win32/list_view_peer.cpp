#include "platform/win32/list_view_peer.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/metrics.h"
#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {
// A new column's width when nothing else is said: one inch.
constexpr int kDefaultColumnTwips = 1440;
}  // namespace

ListViewPeer::ListViewPeer(FormWindow& window, ListView& list)
    : ChildPeer(window, list), list_(list) {
  Create(WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP,
         WS_EX_CLIENTEDGE);
  // The list shows its text in the window's own font, not the control's.
  SendMessageW(handle_, WM_SETFONT,
               reinterpret_cast<WPARAM>(window_.FontFor(window_.GetForm().GetFont())), FALSE);
  ShowColumns();
  ShowRowCount();
}

void ListViewPeer::UpdateOwn(Change what, int /*index*/) {
  switch (what) {
    case Change::Columns:
      ShowColumns();
      break;
    case Change::RowCount:
      ShowRowCount();
      break;
    default:
      break;
  }
}

void ListViewPeer::ShowColumns() {
  HWND header = reinterpret_cast<HWND>(SendMessageW(handle_, LVM_GETHEADER, 0, 0));
  int shown = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  const int wanted = static_cast<int>(list_.Columns().size());
  while (shown > wanted) SendMessageW(handle_, LVM_DELETECOLUMN, static_cast<WPARAM>(--shown), 0);
  for (int column = 0; column < wanted; ++column) {
    std::wstring text = ToUtf16(list_.Columns()[static_cast<std::size_t>(column)]);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    info.fmt = LVCFMT_LEFT;
    info.cx = TwipsToPixels(kDefaultColumnTwips, window_.Dpi());
    info.pszText = text.data();
    info.iSubItem = column;
    if (column < shown) {
      info.mask &= ~static_cast<UINT>(LVCF_WIDTH);  // the user may have widened it
      SendMessageW(handle_, LVM_SETCOLUMNW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&info));
    } else {
      SendMessageW(handle_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&info));
    }
  }
}

void ListViewPeer::ShowRowCount() {
  // While rows arrive in a burst the view is told their count once, when the
  // program next returns to the message loop: telling it of every row costs
  // as much as making the row.
  if (settling_) return;
  settling_ = true;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  window_.SettleLater(control_);
  SendMessageW(handle_, LVM_SETITEMCOUNT, static_cast<WPARAM>(list_.RowCount()),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ListViewPeer::Settle() {
  if (!settling_) return;
  settling_ = false;
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  // Once more with drawing on, so that the scroll bars take the new count.
  SendMessageW(handle_, LVM_SETITEMCOUNT, static_cast<WPARAM>(list_.RowCount()),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT ListViewPeer::Notify(const NMHDR& header) {
  if (header.code != LVN_GETDISPINFOW) return 0;
  auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
  if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return 0;
  info.item.pszText[0] = L'\0';
  const int row = info.item.iItem + 1;
  if (row < 1 || row > list_.RowCount() || info.item.iSubItem < 0 ||
      info.item.iSubItem >= static_cast<int>(list_.Columns().size()))
    return 0;
  const std::wstring text = ToUtf16(list_.Text(row, info.item.iSubItem));
  const std::size_t room = static_cast<std::size_t>(info.item.cchTextMax) - 1;
  const std::size_t count = std::min(text.size(), room);
  std::copy_n(text.data(), count, info.item.pszText);
  info.item.pszText[count] = L'\0';
  return 0;
}

}  // namespace qs::win32

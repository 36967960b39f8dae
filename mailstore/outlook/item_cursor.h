#pragma once
// Reads a folder's items in order through the collection's enumerator, many
// per call, where a walk by position would cost one call per item. Any other
// access, or a collection without an enumerator, is left to Items.Item.

#include <oaidl.h>

#include <cstdint>
#include <deque>

#include "platform/win32/com_dispatch.h"

namespace qs::outlook {

class ItemCursor {
 public:
  // The item at the position when it is the next one in order and the
  // enumerator gives it; else an empty pointer.
  win32::ComPtr<IDispatch> Take(const win32::Dispatch& items, std::int32_t position);

 private:
  bool Start(const win32::Dispatch& items);
  void Fill();

  static constexpr ULONG kBatch = 64;
  enum class State { Unstarted, Running, Unavailable } state_ = State::Unstarted;
  win32::ComPtr<IEnumVARIANT> enumerator_;
  std::deque<win32::Variant> batch_;
  std::int32_t next_ = 1;
  bool exhausted_ = false;
};

}  // namespace qs::outlook

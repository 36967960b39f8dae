#include "mailstore/outlook/item_cursor.h"

#include <array>

#include "platform/win32/com_error.h"

namespace qs::outlook {

bool ItemCursor::Start(const win32::Dispatch& items) {
  state_ = State::Unavailable;
  try {
    const win32::ComPtr<IUnknown> object =
        items.GetById(DISPID_NEWENUM, "_NewEnum").ToUnknown("Items._NewEnum");
    enumerator_ = object.try_query<IEnumVARIANT>();
  } catch (const win32::ComError&) {
    return false;  // Not enumerable: Items.Item serves every position.
  }
  if (enumerator_) state_ = State::Running;
  return state_ == State::Running;
}

void ItemCursor::Fill() {
  std::array<VARIANT, kBatch> values;
  for (VARIANT& value : values) VariantInit(&value);
  ULONG fetched = 0;
  const HRESULT result = enumerator_->Next(kBatch, values.data(), &fetched);
  if (FAILED(result)) fetched = 0;
  for (ULONG i = 0; i < fetched && i < kBatch; ++i) {
    win32::Variant item;
    *item.put() = values[i];  // The Variant takes over the reference.
    batch_.push_back(std::move(item));
  }
  if (result != S_OK) exhausted_ = true;
}

win32::ComPtr<IDispatch> ItemCursor::Take(const win32::Dispatch& items, std::int32_t position) {
  if (position != next_ || state_ == State::Unavailable) return {};
  if (state_ == State::Unstarted && !Start(items)) return {};
  if (batch_.empty() && !exhausted_) Fill();
  if (batch_.empty()) {
    state_ = State::Unavailable;
    return {};
  }
  win32::Variant item = std::move(batch_.front());
  batch_.pop_front();
  ++next_;
  return item.ToDispatch("Items._NewEnum");
}

}  // namespace qs::outlook

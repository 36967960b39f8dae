#include "platform/win32/com_init.h"

#include <objbase.h>

#include <utility>

#include "platform/win32/com_error.h"

namespace qs::win32 {

ComApartment::ComApartment(ComApartment&& other) noexcept
    : owns_(std::exchange(other.owns_, false)) {}

ComApartment::~ComApartment() {
  if (owns_) CoUninitialize();
}

ComApartment InitializeCom() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (result == RPC_E_CHANGED_MODE) return ComApartment(false);
  ThrowIfFailed(result, "CoInitializeEx");
  return ComApartment(true);
}

}  // namespace qs::win32

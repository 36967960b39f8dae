#pragma once
// An owning VARIANT: what goes into an automation call and what comes back.
// Readers convert the way automation clients expect and throw ComError,
// naming what was read, when the value has no such form.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32/com_ptr.h"

namespace qs::win32 {

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(std::int32_t number);
  Variant(bool flag);
  Variant(const char* utf8) : Variant(std::string_view(utf8)) {}
  Variant(const std::string& utf8) : Variant(std::string_view(utf8)) {}
  Variant(std::string_view utf8);
  // A reference of its own to the object.
  Variant(IDispatch* object);
  // An automation date (days since 30 December 1899).
  static Variant Date(double days);
  // An optional argument left out (VT_ERROR, DISP_E_PARAMNOTFOUND).
  static Variant Missing();

  Variant(Variant&& other) noexcept;
  // A deep copy (VariantCopy): strings duplicated, objects referenced again.
  Variant Copy() const;
  Variant& operator=(Variant&& other) noexcept;
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  VARTYPE Type() const { return value_.vt; }
  const VARIANT& get() const { return value_; }
  // For out-parameters: clears what is held and hands out the slot.
  VARIANT* put();

  bool IsEmpty() const { return value_.vt == VT_EMPTY || value_.vt == VT_NULL; }
  std::int32_t ToInt32(std::string_view what) const;
  bool ToBool(std::string_view what) const;
  std::string ToUtf8(std::string_view what) const;
  double ToDate(std::string_view what) const;
  // Empty for a null object or an empty value (automation's Nothing).
  ComPtr<IDispatch> ToDispatch(std::string_view what) const;
  ComPtr<IUnknown> ToUnknown(std::string_view what) const;

 private:
  // The value changed to the given type, or ComError.
  Variant As(VARTYPE type, std::string_view what) const;
  VARIANT value_;
};

// Arguments of automation calls: Variants are copied, everything else is
// converted by the constructors above.
inline Variant ToArgument(const Variant& value) { return value.Copy(); }
template <class T>
Variant ToArgument(const T& value) {
  return Variant(value);
}

}  // namespace qs::win32

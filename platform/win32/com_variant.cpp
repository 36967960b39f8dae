#include "platform/win32/com_variant.h"

#include <utility>

#include "platform/win32/com_bstr.h"

namespace qs::win32 {

Variant::Variant(std::int32_t number) : Variant() {
  value_.vt = VT_I4;
  value_.lVal = number;
}

Variant::Variant(bool flag) : Variant() {
  value_.vt = VT_BOOL;
  value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(std::string_view utf8) : Variant() {
  Bstr text(utf8);
  value_.vt = VT_BSTR;
  value_.bstrVal = text.release();
}

Variant::Variant(IDispatch* object) : Variant() {
  if (object) object->AddRef();
  value_.vt = VT_DISPATCH;
  value_.pdispVal = object;
}

Variant Variant::Date(double days) {
  Variant result;
  result.value_.vt = VT_DATE;
  result.value_.date = days;
  return result;
}

Variant Variant::Missing() {
  Variant result;
  result.value_.vt = VT_ERROR;
  result.value_.scode = DISP_E_PARAMNOTFOUND;
  return result;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    VariantClear(&value_);
    value_ = other.value_;
    VariantInit(&other.value_);
  }
  return *this;
}

Variant Variant::Copy() const {
  Variant result;
  ThrowIfFailed(VariantCopy(result.put(), const_cast<VARIANT*>(&value_)), "VariantCopy");
  return result;
}

VARIANT* Variant::put() {
  VariantClear(&value_);
  return &value_;
}

Variant Variant::As(VARTYPE type, std::string_view what) const {
  Variant result;
  ThrowIfFailed(VariantChangeType(result.put(), const_cast<VARIANT*>(&value_), 0, type), what);
  return result;
}

std::int32_t Variant::ToInt32(std::string_view what) const {
  if (value_.vt == VT_I4) return value_.lVal;
  return As(VT_I4, what).value_.lVal;
}

bool Variant::ToBool(std::string_view what) const {
  if (value_.vt == VT_BOOL) return value_.boolVal != VARIANT_FALSE;
  return As(VT_BOOL, what).value_.boolVal != VARIANT_FALSE;
}

std::string Variant::ToUtf8(std::string_view what) const {
  if (value_.vt == VT_BSTR) return BstrToUtf8(value_.bstrVal);
  if (IsEmpty()) return {};
  return BstrToUtf8(As(VT_BSTR, what).value_.bstrVal);
}

double Variant::ToDate(std::string_view what) const {
  // Only a true date is taken: a text would be read by the locale's rules.
  if (value_.vt == VT_DATE) return value_.date;
  if (value_.vt == VT_R8) return value_.dblVal;
  throw ComError(what, DISP_E_TYPEMISMATCH, "not a date");
}

ComPtr<IDispatch> Variant::ToDispatch(std::string_view what) const {
  if (IsEmpty()) return {};
  if (value_.vt == VT_DISPATCH) {
    if (value_.pdispVal) value_.pdispVal->AddRef();
    return ComPtr<IDispatch>::Attach(value_.pdispVal);
  }
  if (value_.vt == VT_UNKNOWN) {
    const ComPtr<IUnknown> object = ToUnknown(what);
    return object ? object.query<IDispatch>(what) : ComPtr<IDispatch>();
  }
  throw ComError(what, DISP_E_TYPEMISMATCH, "not an object");
}

ComPtr<IUnknown> Variant::ToUnknown(std::string_view what) const {
  if (IsEmpty()) return {};
  if (value_.vt == VT_UNKNOWN || value_.vt == VT_DISPATCH) {
    IUnknown* object = value_.vt == VT_UNKNOWN ? value_.punkVal : value_.pdispVal;
    if (object) object->AddRef();
    return ComPtr<IUnknown>::Attach(object);
  }
  throw ComError(what, DISP_E_TYPEMISMATCH, "not an object");
}

}  // namespace qs::win32

#include "fake_dispatch.h"

#include "fake_server.h"

namespace fake_outlook {

bool SameName(const std::wstring& left, const std::wstring& right) {
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                              static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

const VARIANT& Arguments::Raw(std::size_t index) const {
  // DISPPARAMS holds the arguments last to first.
  const VARIANT& value = parameters_.rgvarg[parameters_.cArgs - 1 - index];
  if (value.vt == (VT_VARIANT | VT_BYREF)) return *value.pvarVal;
  return value;
}

bool Arguments::Has(std::size_t index) const {
  if (index >= parameters_.cArgs) return false;
  const VARIANT& value = Raw(index);
  return !(value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

VARIANT Arguments::Value(std::size_t index) const {
  if (!Has(index)) throw Failure{DISP_E_PARAMNOTFOUND, L"Argument missing."};
  VARIANT copy;
  VariantInit(&copy);
  if (FAILED(VariantCopyInd(&copy, const_cast<VARIANT*>(&Raw(index)))))
    throw Failure{DISP_E_TYPEMISMATCH, L"Type mismatch."};
  return copy;
}

std::wstring Arguments::Text(std::size_t index) const {
  VARIANT value = Value(index);
  const HRESULT changed = VariantChangeType(&value, &value, 0, VT_BSTR);
  std::wstring text;
  if (SUCCEEDED(changed) && value.bstrVal) text.assign(value.bstrVal, SysStringLen(value.bstrVal));
  VariantClear(&value);
  if (FAILED(changed)) throw Failure{DISP_E_TYPEMISMATCH, L"Type mismatch."};
  return text;
}

int Arguments::Int(std::size_t index) const {
  VARIANT value = Value(index);
  const HRESULT changed = VariantChangeType(&value, &value, 0, VT_I4);
  const int number = SUCCEEDED(changed) ? value.lVal : 0;
  VariantClear(&value);
  if (FAILED(changed)) throw Failure{DISP_E_TYPEMISMATCH, L"Type mismatch."};
  return number;
}

void Result::Text(const std::wstring& text) {
  if (!slot_) return;
  slot_->vt = VT_BSTR;
  slot_->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void Result::Int(int value) {
  if (!slot_) return;
  slot_->vt = VT_I4;
  slot_->lVal = value;
}

void Result::Bool(bool value) {
  if (!slot_) return;
  slot_->vt = VT_BOOL;
  slot_->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void Result::Date(double value) {
  if (!slot_) return;
  slot_->vt = VT_DATE;
  slot_->date = value;
}

void Result::Object(IDispatch* object) {
  if (!slot_) {
    if (object) object->Release();
    return;
  }
  slot_->vt = VT_DISPATCH;
  slot_->pdispVal = object;
}

void Result::Unknown(IUnknown* object) {
  if (!slot_) {
    if (object) object->Release();
    return;
  }
  slot_->vt = VT_UNKNOWN;
  slot_->punkVal = object;
}

FakeDispatch::FakeDispatch() { State().counters.Born(); }
FakeDispatch::~FakeDispatch() { State().counters.Died(); }

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FakeDispatch::AddRef() { return ++references_; }

ULONG FakeDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
  State().counters.Call();
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  State().counters.Call();
  return E_NOTIMPL;
}

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  State().counters.Call();
  State().counters.Lookup();
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (const Member& member : Members())
      if (SameName(member.name, names[i])) ids[i] = member.id;
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                             VARIANT* result, EXCEPINFO* exception, UINT*) {
  State().counters.Call();
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  bool known = false;
  for (const Member& member : Members()) known = known || member.id == id;
  if (!known) return DISP_E_MEMBERNOTFOUND;
  if (result) VariantInit(result);
  const DISPPARAMS none{nullptr, nullptr, 0, 0};
  Arguments args(parameters ? *parameters : none);
  Result out(result);
  try {
    Serve(id, args, out);
    return S_OK;
  } catch (const Failure& failure) {
    if (result) VariantClear(result);
    if (exception) {
      *exception = EXCEPINFO{};
      exception->bstrSource = SysAllocString(L"Microsoft Outlook");
      exception->bstrDescription = SysAllocString(failure.description.c_str());
      exception->scode = failure.scode;
    }
    return DISP_E_EXCEPTION;
  }
}

}  // namespace fake_outlook

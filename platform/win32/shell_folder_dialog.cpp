// The shell's folder dialog through its automation object "Shell.Application",
// bound by name at run time. The few COM wrappers here are private to this
// file: they hold exactly what one dialog needs and release it on every path.
#include <windows.h>
#include <oleauto.h>

#include <system_error>
#include <vector>

#include "platform/folder_dialog.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

void Check(HRESULT result, const char* what) {
  if (FAILED(result))
    throw std::system_error(static_cast<int>(result), std::system_category(), what);
}

// COM for this thread while the dialog is up. A thread that already runs in
// another apartment model can still make the calls, but must not be
// uninitialised by us.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    if (FAILED(result_) && result_ != RPC_E_CHANGED_MODE) Check(result_, "COM initialisation");
  }
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* Get() { return &value_; }
  const VARIANT& Value() const { return value_; }

 private:
  VARIANT value_;
};

class Dispatch {
 public:
  Dispatch() = default;
  explicit Dispatch(IDispatch* object) : object_(object) {}
  ~Dispatch() {
    if (object_) object_->Release();
  }
  Dispatch(Dispatch&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  Dispatch& operator=(Dispatch&&) = delete;
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;

  explicit operator bool() const { return object_ != nullptr; }
  IDispatch** Out() { return &object_; }

  // Calls a member by name as method or property; the arguments in their
  // natural order (COM wants them reversed).
  void Call(const wchar_t* name, std::vector<VARIANT> arguments, Variant& result) const {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
          "shell automation name");
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS parameters{reversed.empty() ? nullptr : reversed.data(), nullptr,
                          static_cast<UINT>(reversed.size()), 0};
    Check(object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters, result.Get(),
                          nullptr, nullptr),
          "shell automation call");
  }

  // The object a call gives back; an empty one for none.
  Dispatch CallForObject(const wchar_t* name, std::vector<VARIANT> arguments = {}) const {
    Variant result;
    Call(name, std::move(arguments), result);
    const VARIANT& value = result.Value();
    if (value.vt != VT_DISPATCH || value.pdispVal == nullptr) return Dispatch();
    value.pdispVal->AddRef();
    return Dispatch(value.pdispVal);
  }

 private:
  IDispatch* object_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::string& text)
      : value_(SysAllocString(win32::ToUtf16(text).c_str())) {
    if (!value_) throw std::bad_alloc();
  }
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_;
};

VARIANT Long(LONG number) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = number;
  return value;
}

VARIANT Text(const Bstr& text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.Get();  // borrowed: the Bstr outlives the call
  return value;
}

VARIANT Missing() {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_ERROR;
  value.scode = DISP_E_PARAMNOTFOUND;
  return value;
}

Dispatch CreateShell() {
  CLSID id{};
  Check(CLSIDFromProgID(L"Shell.Application", &id), "Shell.Application");
  Dispatch shell;
  Check(CoCreateInstance(id, nullptr, CLSCTX_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(shell.Out())),
        "Shell.Application");
  return shell;
}

// The folder as an item of itself: Items.Item called without an index. Some
// servers want the absent index spelled out as a missing argument.
Dispatch FolderSelf(const Dispatch& items) {
  try {
    return items.CallForObject(L"Item");
  } catch (const std::system_error&) {
    return items.CallForObject(L"Item", {Missing()});
  }
}

}  // namespace

std::optional<std::string> BrowseForFolderPath(Application&, const std::string& title) {
  ComApartment com;
  const Dispatch shell = CreateShell();
  const Bstr caption(title);
  const Dispatch folder =
      shell.CallForObject(L"BrowseForFolder", {Long(0), Text(caption), Long(0)});
  if (!folder) return std::nullopt;
  const Dispatch items = folder.CallForObject(L"Items");
  if (!items) return std::nullopt;
  const Dispatch self = FolderSelf(items);
  if (!self) return std::nullopt;
  Variant path;
  self.Call(L"Path", {}, path);
  if (path.Value().vt != VT_BSTR || path.Value().bstrVal == nullptr) return std::string();
  return win32::ToUtf8(path.Value().bstrVal);
}

}  // namespace qs

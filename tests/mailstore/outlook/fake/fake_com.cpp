// The COM side of the fake: objects, enumerators and the class object, each
// counted into the counters the tests read.

#include <algorithm>
#include <cstdlib>

#include "fake_outlook.h"

namespace fake_outlook {

bool SameName(const std::wstring& left, const std::wstring& right) {
  return lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

const VARIANT& Call::Argument(UINT index) const {
  // DISPPARAMS holds the arguments last to first.
  const VARIANT& value = parameters_.rgvarg[parameters_.cArgs - 1 - index];
  return value.vt == (VT_VARIANT | VT_BYREF) ? *value.pvarVal : value;
}

bool Call::Has(UINT index) const {
  return index < parameters_.cArgs &&
         !(Argument(index).vt == VT_ERROR && Argument(index).scode == DISP_E_PARAMNOTFOUND);
}

VARIANT Call::Converted(UINT index, VARTYPE type) const {
  if (!Has(index)) throw Failure{DISP_E_PARAMNOTFOUND, L"Argument missing."};
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantChangeType(&value, const_cast<VARIANT*>(&Argument(index)), 0, type)))
    throw Failure{DISP_E_TYPEMISMATCH, L"Type mismatch."};
  return value;
}

std::wstring Call::Text(UINT index) const {
  VARIANT value = Converted(index, VT_BSTR);
  const std::wstring text(value.bstrVal, SysStringLen(value.bstrVal));
  VariantClear(&value);
  return text;
}

int Call::Int(UINT index) const { return Converted(index, VT_I4).lVal; }

void Call::Return(const std::wstring& text) {
  result_.vt = VT_BSTR;
  result_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

namespace {

void CountCall(bool lookup) {
  InterlockedIncrement(&State().counters->calls);
  if (lookup) InterlockedIncrement(&State().counters->lookups);
}

// Reference counting for one interface, and the count of live objects.
template <class Interface>
class Counted : public Interface {
 public:
  Counted() { Lives(+1); }
  virtual ~Counted() { Lives(-1); }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown || iid == __uuidof(Interface) ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  static void Lives(long change) { InterlockedExchangeAdd(&State().counters->live, change); }
  ULONG references_ = 1;
};

class Object final : public Counted<IDispatch> {
 public:
  explicit Object(Ref ref) : ref_(std::move(ref)) {}

  // No type information: a client looks names up.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    CountCall(true);
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const Member& member : ref_.kind->members)
        if (SameName(member.name, names[i])) ids[i] = member.id;
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    CountCall(false);
    const auto& members = ref_.kind->members;
    const auto member = std::find_if(members.begin(), members.end(),
                                     [&](const Member& candidate) { return candidate.id == id; });
    if (member == members.end() || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
      return DISP_E_MEMBERNOTFOUND;
    VARIANT value;
    VariantInit(&value);
    try {
      Call call(ref_, *parameters, value);
      member->serve(call);
    } catch (const Failure& failure) {
      VariantClear(&value);
      if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(L"Microsoft Outlook");
        exception->bstrDescription = SysAllocString(failure.description);
        exception->scode = failure.scode;
      }
      return DISP_E_EXCEPTION;
    }
    if (result) *result = value;
    else VariantClear(&value);
    return S_OK;
  }

 private:
  Ref ref_;
};

// The binding reads items in order, once: Next is all it needs.
class Enumerator final : public Counted<IEnumVARIANT> {
 public:
  explicit Enumerator(std::vector<Ref> elements) : elements_(std::move(elements)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* values, ULONG* fetched) override {
    CountCall(false);
    ULONG given = 0;
    for (; given < wanted && next_ < elements_.size(); ++given, ++next_) {
      values[given].vt = VT_DISPATCH;
      values[given].pdispVal = NewObject(elements_[next_]);
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  std::vector<Ref> elements_;
  std::size_t next_ = 0;
};

bool InSurrogate() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path);
  return SameName(program.substr(program.find_last_of(L"\\/") + 1), L"dllhost.exe");
}

// Registered for the surrogate only, the server refuses to load into the
// client, so that COM goes on to start it in the surrogate, where it runs
// in a process of its own as Outlook does.
bool RefusedInThisProcess() {
  const std::wstring key = std::wstring(L"CLSID\\") + kClsid;
  return RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), kSurrogateOnlyValue, RRF_RT_REG_SZ, nullptr,
                      nullptr, nullptr) == ERROR_SUCCESS &&
         !InSurrogate();
}

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = iid == IID_IUnknown || iid == IID_IClassFactory ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  // Never unloaded (the DLL exports no DllCanUnloadNow): no count to keep.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* application = NewObject({&kApplication, {}});
    const HRESULT result = application->QueryInterface(iid, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

IDispatch* NewObject(Ref ref) { return new Object(std::move(ref)); }
IUnknown* NewEnumerator(std::vector<Ref> elements) { return new Enumerator(std::move(elements)); }

Server::Server() {
  // Without its counters the fake cannot count, and a test must not pass on that.
  if (!counters) std::abort();
  if (!InSurrogate()) return;
  const long slot = InterlockedIncrement(&counters->hosts) - 1;
  if (slot < 16) counters->host_ids[slot] = GetCurrentProcessId();
}

Server::~Server() {
  UnmapViewOfFile(counters);
  CloseHandle(section);
}

Server& State() {
  static Server server;
  return server;
}

}  // namespace fake_outlook

extern "C" {

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  static fake_outlook::ClassFactory factory;
  CLSID outlook{};
  CLSIDFromString(fake_outlook::kClsid, &outlook);
  *object = nullptr;
  if (clsid != outlook || fake_outlook::RefusedInThisProcess()) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

}  // extern "C"

// The fake's objects, enumerators and class object, counted for the tests.

#include <algorithm>
#include <cstdlib>

#include "fake_outlook.h"

namespace fake_outlook {

bool SameName(const std::wstring& left, const std::wstring& right) {
  return lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

const VARIANT& Call::Argument(UINT index) const {
  // DISPPARAMS holds the arguments last to first.
  return parameters_.rgvarg[parameters_.cArgs - 1 - index];
}

// Of the type the binding passes, as Outlook refuses what it cannot convert.
const VARIANT& Call::Typed(UINT index, VARTYPE type) const {
  if (!Has(index)) throw Failure{DISP_E_PARAMNOTFOUND, L"Argument missing."};
  if (Argument(index).vt != type) throw Failure{DISP_E_TYPEMISMATCH, L"Type mismatch."};
  return Argument(index);
}

std::wstring Call::Text(UINT index) const {
  return {Typed(index, VT_BSTR).bstrVal, SysStringLen(Typed(index, VT_BSTR).bstrVal)};
}

int Call::Int(UINT index) const { return Typed(index, VT_I4).lVal; }

namespace {

void CountCall(bool lookup) {
  InterlockedIncrement(&State().counters->calls);
  if (lookup) InterlockedIncrement(&State().counters->lookups);
}

template <class Self>
HRESULT Query(Self* self, REFIID iid, REFIID own, void** object) {
  *object = iid == IID_IUnknown || iid == own ? self : nullptr;
  if (!*object) return E_NOINTERFACE;
  self->AddRef();
  return S_OK;
}

template <class Interface>
class Counted : public Interface {
 public:
  Counted() { InterlockedIncrement(&State().counters->live); }
  virtual ~Counted() { InterlockedDecrement(&State().counters->live); }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return Query(this, iid, __uuidof(Interface), object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 1;
};

class Object final : public Counted<IDispatch> {
 public:
  explicit Object(Ref ref) : ref_(std::move(ref)) {}

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
      if (exception)
        *exception = {0, 0, SysAllocString(L"Microsoft Outlook"),
                      SysAllocString(failure.description), nullptr, 0, nullptr, nullptr,
                      failure.scode};
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
  return std::wstring_view(path).ends_with(L"\\dllhost.exe");
}

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return Query(this, iid, IID_IClassFactory, object);
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
  if (clsid != outlook || fake_outlook::State().refuse) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

}  // extern "C"

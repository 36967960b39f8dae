// The in-process server: Outlook's class object and the functions a test
// calls to steer the fake and read its counters.

#include "fake_server.h"

#include <windows.h>
#include <oaidl.h>

#include <cstdlib>
#include <string>

#include "fake_objects.h"
#include "fake_outlook_api.h"

namespace fake_outlook {

Counters::Counters() {
  section_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                sizeof(SharedCounters), kCountersName);
  void* view = section_ ? MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
  // Without the section the fake cannot count, and a test must not pass on that.
  if (!view) std::abort();
  shared_ = static_cast<SharedCounters*>(view);
}

Counters::~Counters() {
  UnmapViewOfFile(shared_);
  CloseHandle(section_);
}

void Counters::HostStarted(DWORD process_id) {
  const long slot = InterlockedIncrement(&shared_->hosts) - 1;
  if (slot >= 0 && slot < 16) shared_->host_ids[slot] = process_id;
}

bool InSurrogate() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path);
  return SameName(program.substr(program.find_last_of(L"\\/") + 1), L"dllhost.exe");
}

ServerState::ServerState() {
  if (InSurrogate()) counters.HostStarted(GetCurrentProcessId());
}

ServerState& State() {
  static ServerState state;
  return state;
}

namespace {

// {0006F03A-0000-0000-C000-000000000046}
constexpr CLSID kOutlookClsid = {
    0x0006F03A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++State().locks); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--State().locks); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* application = NewApplication();
    const HRESULT result = application->QueryInterface(iid, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++State().locks : --State().locks;
    return S_OK;
  }
};

ClassFactory& Factory() {
  static ClassFactory factory;
  return factory;
}

// Registered for the surrogate only, the server refuses to load into the
// client, so that COM goes on to start it in the surrogate process, where a
// real Outlook runs too: in a process of its own.
bool RefusedInThisProcess() {
  const std::wstring key = std::wstring(L"CLSID\\") + kClsid;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), kSurrogateOnlyValue, RRF_RT_REG_SZ, nullptr,
                   nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  return !InSurrogate();
}


}  // namespace

}  // namespace fake_outlook

using fake_outlook::State;

extern "C" {

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != fake_outlook::kOutlookClsid || fake_outlook::RefusedInThisProcess())
    return CLASS_E_CLASSNOTAVAILABLE;
  return fake_outlook::Factory().QueryInterface(iid, object);
}

HRESULT __stdcall DllCanUnloadNow() {
  return State().counters.LiveHere() == 0 && State().locks == 0 ? S_OK : S_FALSE;
}

void FakeOutlookRestoreFixture() {
  State().mailbox = fake_outlook::MakeFixture();
  State().pick.reset();
}

void FakeOutlookSetPick(const wchar_t* folder_path) {
  if (folder_path)
    State().pick = folder_path;
  else
    State().pick.reset();
}

int FakeOutlookDeleteItem(const wchar_t* entry_id) {
  return State().mailbox->DeleteItem(entry_id) ? 1 : 0;
}

void FakeOutlookAddBulkFolder(int items) {
  fake_outlook::FakeFolder& bulk = State().mailbox->DefaultStore().AddFolder(L"Bulk");
  for (int i = 0; i < items; ++i) {
    fake_outlook::FakeItem item;
    item.entry_id = L"00000000C3" + std::to_wstring(1000000 + i);
    item.subject = L"Bulk " + std::to_wstring(i);
    item.sender = L"bulk@example.com";
    item.to = L"Tester";
    item.created = fake_outlook::OleDate(2009, 1 + i % 12, 1 + i % 28, i % 24);
    item.sent_on = item.created + 0.01;
    item.received = item.created + 0.02;
    // Every tenth item is not mail, as in a real folder.
    item.item_class = i % 10 == 9 ? 46 : 43;
    bulk.AddItem(std::move(item));
  }
}

}  // extern "C"

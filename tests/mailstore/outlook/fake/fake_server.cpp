// The in-process server: Outlook's class object, and the functions a test
// calls to steer the fake.

#include <cstdlib>
#include <cwchar>

#include "fake_outlook.h"

namespace fake_outlook {

namespace {

bool InSurrogate() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path);
  return SameName(program.substr(program.find_last_of(L"\\/") + 1), L"dllhost.exe");
}

// Registered for the surrogate only, the server refuses to load into the
// client, so that COM goes on to start it in the surrogate process, where a
// real Outlook runs too: in a process of its own.
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
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++State().locks); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--State().locks); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* application = NewObject({&kApplication, {}});
    const HRESULT result = application->QueryInterface(iid, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    State().locks += lock ? 1 : -1;
    return S_OK;
  }
};

}  // namespace

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

using fake_outlook::State;

extern "C" {

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  static fake_outlook::ClassFactory factory;
  CLSID outlook{};
  CLSIDFromString(fake_outlook::kClsid, &outlook);
  *object = nullptr;
  if (clsid != outlook || fake_outlook::RefusedInThisProcess()) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

HRESULT __stdcall DllCanUnloadNow() {
  return State().live_here == 0 && State().locks == 0 ? S_OK : S_FALSE;
}

int FakeOutlookSwitch(const wchar_t* name, const wchar_t* argument) {
  const std::wstring command(name);
  auto& mails = State().mails;
  if (command == L"restore") mails = fake_outlook::Fixture();
  if (command == L"restore" || command == L"pick")
    State().pick = argument ? std::optional<std::wstring>(argument) : std::nullopt;
  if (command == L"delete")
    for (fake_outlook::Mail& mail : mails)
      if (mail.entry_id == argument && !mail.deleted) return mail.deleted = true;
  // Every tenth item of the bulk is not mail, as in a real folder.
  for (int i = 0; command == L"bulk" && i < _wtoi(argument); ++i) {
    wchar_t id[17], created[20], sent[20];
    std::swprintf(id, 17, L"00000000C3%06d", i);
    std::swprintf(created, 20, L"2009-%02d-%02d %02d:00:00", 1 + i % 12, 1 + i % 28, i % 24);
    std::swprintf(sent, 20, L"2009-%02d-%02d %02d:30:00", 1 + i % 12, 1 + i % 28, i % 24);
    mails.push_back({L"\\\\Postfach Zoë\\Bulk", id, L"Bulk " + std::to_wstring(i),
                     L"bulk@example.com", L"Tester", created, sent, sent, i % 10 == 9 ? 46 : 43});
  }
  return 0;
}

}  // extern "C"

#include "fake_outlook_registration.h"

#include <filesystem>
#include <stdexcept>

namespace qs::testing {

namespace {

namespace fs = std::filesystem;

// Under the classes root itself: Wine looks a program identifier up there
// only, not among the current user's classes.
const wchar_t kProgId[] = L"Outlook.Application";
const std::wstring kClsidKey = std::wstring(L"CLSID\\") + fake_outlook::kClsid;
const std::wstring kAppIdKey = std::wstring(L"AppID\\") + fake_outlook::kClsid;

void SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  if (RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw std::runtime_error("cannot register the fake Outlook");
}

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  return fs::path(path).parent_path().wstring() + L"\\";
}

}  // namespace

FakeOutlook::FakeOutlook(Hosting hosting) {
  const std::wstring dll = ProgramDirectory() + L"fake_outlook.dll";
  Unregister();
  SetValue(kProgId, nullptr, kProgId);
  SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr, fake_outlook::kClsid);
  SetValue(kClsidKey, nullptr, L"Fake Outlook");
  SetValue(kClsidKey + L"\\InprocServer32", nullptr, dll);
  SetValue(kClsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (hosting == Hosting::Surrogate) {
    // Wine's surrogate starts only when named by its full path.
    SetValue(kClsidKey, L"AppID", fake_outlook::kClsid);
    SetValue(kClsidKey, fake_outlook::kSurrogateOnlyValue, L"1");
    SetValue(kAppIdKey, L"DllSurrogate", L"C:\\windows\\system32\\dllhost.exe");
  }
  counters_ = fake_outlook::MapCounters(section_);
  if (!counters_) throw std::runtime_error("cannot share counters with the fake Outlook");
  ZeroMemory(counters_, sizeof *counters_);
  module_ = LoadLibraryW(dll.c_str());
  if (!module_) throw std::runtime_error("cannot load fake_outlook.dll");
  switch_ = reinterpret_cast<fake_outlook::SwitchFunction>(
      reinterpret_cast<void*>(GetProcAddress(module_, fake_outlook::kSwitch)));
  if (!switch_) throw std::runtime_error("fake_outlook.dll lacks its switches");
  Switch(L"restore", nullptr);
}

FakeOutlook::~FakeOutlook() {
  // The surrogate does not end by itself when its last object goes.
  for (long i = 0; i < 16 && i < counters_->hosts; ++i) {
    const HANDLE process =
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, counters_->host_ids[i]);
    if (!process) continue;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  Unregister();
  FreeLibrary(module_);
  UnmapViewOfFile(counters_);
  CloseHandle(section_);
}

void FakeOutlook::Unregister() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kClsidKey.c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kAppIdKey.c_str());
}

}  // namespace qs::testing

#pragma once
// The fake Outlook registered as "Outlook.Application" in the classes root
// (where Wine looks a program identifier up) while the object lives.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "fake_outlook.h"
#include "platform/system.h"
#include "platform/win32/utf16.h"

namespace qs::testing {

// Surrogate: in Wine's dllhost.exe, in a process of its own as Outlook runs.
enum class Hosting { InProcess, Surrogate };

class FakeOutlook {
 public:
  // Loads the DLL beside the test program too, so that the switches reach
  // the copy COM loads in process.
  explicit FakeOutlook(Hosting hosting = Hosting::InProcess) {
    const std::wstring dll = win32::ToUtf16(ProgramDirectory()) + L"\\fake_outlook.dll";
    Unregister();
    Set(L"Outlook.Application\\CLSID", nullptr, fake_outlook::kClsid);
    Set(Key(L"CLSID\\") + L"\\InprocServer32", nullptr, dll);
    Set(Key(L"CLSID\\") + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    if (hosting == Hosting::Surrogate) {
      Set(Key(L"CLSID\\"), L"AppID", fake_outlook::kClsid);
      // Wine's surrogate starts only when named by its full path.
      Set(Key(L"AppID\\"), L"DllSurrogate", L"C:\\windows\\system32\\dllhost.exe");
    }
    counters_ = fake_outlook::MapCounters(section_);
    module_ = LoadLibraryW(dll.c_str());
    switch_ = reinterpret_cast<fake_outlook::SwitchFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, fake_outlook::kSwitch)));
    if (!counters_ || !switch_) throw std::runtime_error("cannot load the fake Outlook");
    ZeroMemory(counters_, sizeof *counters_);
    Switch(L"restore");
    if (hosting == Hosting::Surrogate) Switch(L"refuse");
  }
  ~FakeOutlook() {
    // The surrogate does not end by itself when its last object goes.
    for (long i = 0; i < 16 && i < counters_->hosts; ++i)
      if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                             counters_->host_ids[i])) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    Unregister();
    FreeLibrary(module_);
    UnmapViewOfFile(counters_);
    CloseHandle(section_);
  }
  FakeOutlook(const FakeOutlook&) = delete;
  FakeOutlook& operator=(const FakeOutlook&) = delete;

  long Calls() const { return counters_->calls; }
  long Lookups() const { return counters_->lookups; }
  long LiveObjects() const { return counters_->live; }
  long SurrogateProcesses() const { return counters_->hosts; }
  // In process only: the surrogate keeps a mailbox of its own.
  int Switch(const wchar_t* name, const wchar_t* argument = nullptr) const {
    return switch_(name, argument);
  }

  static void Unregister() {
    for (const std::wstring& key :
         {std::wstring(L"Outlook.Application"), Key(L"CLSID\\"), Key(L"AppID\\")})
      RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  }

 private:
  static std::wstring Key(const wchar_t* root) { return root + std::wstring(fake_outlook::kClsid); }
  static void Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
      throw std::runtime_error("cannot register the fake Outlook");
  }

  HANDLE section_ = nullptr;
  fake_outlook::SharedCounters* counters_ = nullptr;
  HMODULE module_ = nullptr;
  fake_outlook::SwitchFunction switch_ = nullptr;
};

}  // namespace qs::testing

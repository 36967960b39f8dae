#include "fake_outlook_registration.h"

#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/win32/utf16.h"

namespace qs::testing {

namespace {

// Under the classes root itself: Wine looks a program identifier up there
// only, not among the current user's classes.
const wchar_t* const kProgIdKey = L"Outlook.Application";

std::wstring ClsidKey() { return std::wstring(L"CLSID\\") + fake_outlook::kClsid; }

void SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  const LSTATUS status =
      RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot register the fake Outlook");
}

std::wstring BesideProgram(const wchar_t* file_name) {
  std::vector<wchar_t> buffer(MAX_PATH * 4);
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::wstring path(buffer.data(), length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + file_name;
}

std::wstring AppIdKey() { return std::wstring(L"AppID\\") + fake_outlook::kClsid; }

}  // namespace

FakeOutlook::FakeOutlook(Hosting hosting) {
  const std::wstring dll = BesideProgram(L"fake_outlook.dll");
  Unregister();
  SetValue(kProgIdKey, nullptr, L"Outlook.Application");
  SetValue(std::wstring(kProgIdKey) + L"\\CLSID", nullptr, fake_outlook::kClsid);
  SetValue(ClsidKey(), nullptr, L"Fake Outlook");
  SetValue(ClsidKey() + L"\\InprocServer32", nullptr, dll);
  SetValue(ClsidKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (hosting == Hosting::Surrogate) {
    // Wine's surrogate starts only when named by its full path.
    SetValue(ClsidKey(), L"AppID", fake_outlook::kClsid);
    SetValue(ClsidKey(), fake_outlook::kSurrogateOnlyValue, L"1");
    SetValue(AppIdKey(), L"DllSurrogate", L"C:\\windows\\system32\\dllhost.exe");
  }
  section_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                sizeof(fake_outlook::SharedCounters), fake_outlook::kCountersName);
  if (section_)
    counters_ = static_cast<fake_outlook::SharedCounters*>(
        MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!counters_) throw std::runtime_error("cannot share counters with the fake Outlook");
  ZeroMemory(counters_, sizeof *counters_);
  module_ = LoadLibraryW(dll.c_str());
  if (!module_) throw std::runtime_error("cannot load fake_outlook.dll");
  restore_ = Find<fake_outlook::ResetFunction>(fake_outlook::kRestore);
  pick_ = Find<fake_outlook::PickFunction>(fake_outlook::kPick);
  delete_ = Find<fake_outlook::DeleteFunction>(fake_outlook::kDelete);
  bulk_ = Find<fake_outlook::BulkFunction>(fake_outlook::kBulk);
  if (!restore_ || !pick_ || !delete_ || !bulk_)
    throw std::runtime_error("fake_outlook.dll lacks its test functions");
  restore_();
}

FakeOutlook::~FakeOutlook() {
  // The surrogate does not end by itself when its last object goes.
  const long hosts = std::min(static_cast<long>(counters_->hosts), 16L);
  for (long i = 0; i < hosts; ++i) {
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
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgIdKey);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey().c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, AppIdKey().c_str());
}

TempDirectory::TempDirectory() {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static int counter = 0;
  const std::wstring path = std::wstring(base) + L"qs-outlook-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
  CreateDirectoryW(path.c_str(), nullptr);
  path_ = win32::ToUtf8(path) + "\\";
}

TempDirectory::~TempDirectory() {
  // SHFileOperation wants a list ended by two nulls.
  std::wstring from = win32::ToUtf16(path_.substr(0, path_.size() - 1));
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

std::string ReadFileText(const std::string& utf8_path) {
  const HANDLE file = CreateFileW(win32::ToUtf16(utf8_path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  return text;
}

}  // namespace qs::testing

#include <windows.h>
#include <shellapi.h>

#include "platform/system.h"
#include "platform/win32/command_line.h"
#include "platform/win32/utf16.h"

namespace qs {

std::string CommandLineArguments(int, char**) {
  return win32::ToUtf8(win32::ArgumentsPart(GetCommandLineW()));
}

bool ShiftKeyDown() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

std::string ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) path.resize(slash);
  return win32::ToUtf8(path);
}

std::string ProgramDataDirectory() { return ProgramDirectory(); }

std::string UserFileDirectory(const std::string&) { return ProgramDirectory(); }

char PathSeparator() { return '\\'; }

void OpenWithShell(const std::string& target) {
  ShellExecuteW(nullptr, nullptr, win32::ToUtf16(target).c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

}  // namespace qs

#include <windows.h>

#include <system_error>

#include "platform/process.h"
#include "platform/win32/utf16.h"

namespace qs {

void StartProgram(const ProgramStart& start) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(
      start.show == WindowShow::MinimizedActive ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
  PROCESS_INFORMATION process{};
  // CreateProcessW may write into the command line it is given.
  std::wstring line = win32::ToUtf16(start.command_line);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "cannot start " + start.command_line);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace qs

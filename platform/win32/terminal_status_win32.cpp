#include <windows.h>

#include <string>

#include "platform/terminal_status.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

bool StandardErrorIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void WriteToConsole(const std::wstring& text) {
  DWORD written = 0;
  WriteConsoleW(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
                &written, nullptr);
}

// The console window may not understand escape sequences, so an older and
// longer text is blanked out with spaces instead.
constexpr std::size_t kLineWidth = 79;

}  // namespace

TerminalStatusLine::TerminalStatusLine() : active_(StandardErrorIsConsole()) {}

TerminalStatusLine::~TerminalStatusLine() {
  if (active_ && written_) WriteToConsole(L"\r" + std::wstring(kLineWidth, L' ') + L"\r");
}

void TerminalStatusLine::Show(std::string_view text) {
  if (!active_) return;
  std::wstring line = win32::ToUtf16(text);
  if (line.size() < kLineWidth) line.append(kLineWidth - line.size(), L' ');
  WriteToConsole(L"\r" + line);
  written_ = true;
}

}  // namespace qs

// Starts a program with raw Windows command lines and checks the tokens that
// start-up reads from them.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf16.h"

namespace qs {
namespace {

// The tokens the printing program prints when started with the command line.
std::vector<std::string> Tokens(const std::string& command_line) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) throw std::runtime_error("pipe");
  const win32::UniqueFile reading(read_end);
  win32::UniqueFile writing(write_end);
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write_end;
  std::wstring line = win32::ToUtf16(command_line);
  const std::wstring program = win32::ToUtf16(ProgramDirectory() + "\\" PRINT_ARGUMENTS_EXE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start the printing program");
  const win32::UniqueFile child(process.hProcess), child_thread(process.hThread);
  writing.reset();  // the output ends when the child's copy of the pipe closes
  std::string output;
  char buffer[4096];
  for (DWORD got = 0; ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0;)
    output.append(buffer, got);
  std::vector<std::string> tokens;
  for (std::size_t from = 0, to; (to = output.find('\0', from)) != std::string::npos; from = to + 1)
    tokens.push_back(output.substr(from, to - from));
  return tokens;
}

using Lines = std::vector<std::string>;

// The program's own name is skipped however it is written; then the
// tokenizer's rules hold.
TEST(WindowsCommandLine, StartUpReadsTheTokensAfterTheProgramsName) {
  const struct {
    std::string command_line;
    Lines expected;
  } cases[] = {
      {"\"C:\\Program Files\\Quillstow\\Quillstow.exe\" \"\\\\Personal Folders\\Inbox\" "
       "\"C:\\Saved Mail\" /autorun",
       {"\\\\Personal Folders\\Inbox", "C:\\Saved Mail", "/autorun"}},
      {"\"C:\\Q\\quillstow.exe\"x y", {"x", "y"}},
      {"Quillstow.exe   a   b  ", {"a", "b"}},
      {"q.exe\ta  b ", {"a", "b"}},
      {"Quillstow.exe", {}},
      {"\"unclosed name a b", {}},
      {"q.exe \"say \"\"hi\"\"\" \"\" \"ab\"cd ef\"gh", {"say \"hi\"", "", "ab", "cd", "ef\"gh"}},
      {"q.exe Grüße \"Ünïcödé Ordner\"", {"Grüße", "Ünïcödé Ordner"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.command_line), c.expected) << c.command_line;
}

}  // namespace
}  // namespace qs

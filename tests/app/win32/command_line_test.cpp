// Starts a program with raw Windows command lines and checks the tokens that
// start-up reads from them.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/win32/utf16.h"

namespace qs {
namespace {

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = nullptr) : handle_(handle) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() {
    if (handle_) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  HANDLE* put() { return &handle_; }

 private:
  HANDLE handle_;
};

// Runs the printing program with the command line `program_part + rest` and
// returns the lines it printed.
std::vector<std::string> Tokens(const std::string& program_part, const std::string& rest) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  OwnedHandle read_end, write_end;
  if (!CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) throw std::runtime_error("pipe");
  SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();
  std::wstring line = win32::ToUtf16(program_part + rest);
  const std::wstring program = win32::ToUtf16(ProgramDirectory() + "\\" PRINT_ARGUMENTS_EXE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start the printing program");
  OwnedHandle process_handle(process.hProcess), thread_handle(process.hThread);
  CloseHandle(*write_end.put());
  *write_end.put() = nullptr;

  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read_end.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    output.append(buffer, got);
  WaitForSingleObject(process.hProcess, INFINITE);

  std::vector<std::string> tokens;
  for (std::size_t from = 0, to; (to = output.find('\n', from)) != std::string::npos; from = to + 1)
    // The child's standard output is in text mode: its lines end in CR LF.
    tokens.push_back(output.substr(from, (to > from && output[to - 1] == '\r' ? to - 1 : to) - from));
  return tokens;
}

using Lines = std::vector<std::string>;

TEST(WindowsCommandLine, ArgumentsFollowTheQuotedProgramName) {
  EXPECT_EQ(Tokens("\"C:\\Program Files\\Quillstow\\Quillstow.exe\"",
                   " \"\\\\Personal Folders\\Inbox\" \"C:\\Saved Mail\" /autorun"),
            (Lines{"\\\\Personal Folders\\Inbox", "C:\\Saved Mail", "/autorun"}));
}

TEST(WindowsCommandLine, ArgumentsFollowAPlainProgramName) {
  EXPECT_EQ(Tokens("Quillstow.exe", "   a   b  "), (Lines{"a", "b"}));
  EXPECT_EQ(Tokens("Quillstow.exe", ""), Lines{});
}

TEST(WindowsCommandLine, TokenizerRulesHoldOnTheRealCommandLine) {
  EXPECT_EQ(Tokens("q.exe", " \"say \"\"hi\"\"\" \"\" \"ab\"cd ef\"gh"),
            (Lines{"say \"hi\"", "", "ab", "cd", "ef\"gh"}));
  EXPECT_EQ(Tokens("q.exe", " a \"b c"), Lines{"a"});
  EXPECT_EQ(Tokens("q.exe", " Grüße \"Ünïcödé Ordner\""), (Lines{"Grüße", "Ünïcödé Ordner"}));
}

TEST(WindowsCommandLine, OnlyTwentyTokensArrive) {
  std::string rest;
  for (int i = 0; i < 25; ++i) rest.append(" t").append(std::to_string(i));
  const auto tokens = Tokens("q.exe", rest);
  ASSERT_EQ(tokens.size(), 20u);
  EXPECT_EQ(tokens.back(), "t19");
}

}  // namespace
}  // namespace qs

#include <windows.h>

#include <system_error>

#include "platform/file_system.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

[[noreturn]] void ThrowError(DWORD error, const std::string& what, const std::string& path) {
  throw std::system_error(static_cast<int>(error), std::system_category(), what + " " + path);
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path) {
  // The reparse point itself is opened, not what it leads to, and refused.
  const HANDLE file = CreateFileW(win32::ToUtf16(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
    ThrowError(error, "cannot open", path);
  }
  std::string bytes;
  DWORD error = ERROR_SUCCESS;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) {
    error = GetLastError();
  } else if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
    error = ERROR_INVALID_PARAMETER;
  } else {
    char chunk[1 << 16];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
        error = GetLastError();
        break;
      }
      if (got == 0) break;
      bytes.append(chunk, got);
    }
  }
  CloseHandle(file);
  if (error != ERROR_SUCCESS) ThrowError(error, "cannot read", path);
  return bytes;
}

bool IsPlainDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::ToUtf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// A file of another user's in a directory this one may write is rare
// enough on Windows, where home directories are not shared, to leave be.
bool OwnedByUser(const std::string&) { return true; }

std::optional<std::string> ReadProblem(const std::string& path) {
  const std::wstring wide = win32::ToUtf16(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    return std::system_category().message(static_cast<int>(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return std::string("it is a directory");
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::system_category().message(static_cast<int>(GetLastError()));
  CloseHandle(file);
  return std::nullopt;
}

std::vector<std::string> DirectoryNames(const std::string& directory) {
  std::vector<std::string> names;
  std::string pattern = directory;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW(win32::ToUtf16(pattern).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = win32::ToUtf8(found.cFileName);
    if (name != "." && name != "..") names.push_back(std::move(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

void RenameEntry(const std::string& from, const std::string& to) {
  if (!MoveFileExW(win32::ToUtf16(from).c_str(), win32::ToUtf16(to).c_str(), 0))
    ThrowError(GetLastError(), "cannot rename", from);
}

}  // namespace qs

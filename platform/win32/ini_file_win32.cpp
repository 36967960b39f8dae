#include <windows.h>


#include "platform/ini/ini_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf16.h"

namespace qs::ini {

namespace {

using win32::OwnFile;
using win32::UniqueFile;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The file a symbolic link leads to; empty when it cannot be found.
std::wstring LinkTarget(const std::wstring& link) {
  const UniqueFile file = OwnFile(CreateFileW(link.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  const DWORD needed = GetFinalPathNameByHandleW(file.get(), nullptr, 0, FILE_NAME_NORMALIZED);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file.get(), path.data(), needed, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  return path;
}

}  // namespace

FileContents ReadIniFile(const std::string& file) {
  // A directory cannot be opened this way; a pipe or device can, and is
  // turned away by its type.
  const UniqueFile handle = OwnFile(CreateFileW(win32::ToUtf16(file).c_str(), GENERIC_READ,
                                                kShareAll, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle)
    return {IsAbsent(GetLastError()) ? FileState::kMissing : FileState::kUnreadable, {}};
  if (GetFileType(handle.get()) != FILE_TYPE_DISK) return {FileState::kUnreadable, {}};
  FileContents contents{FileState::kRead, {}};
  char buffer[1 << 14];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle.get(), buffer, sizeof buffer, &got, nullptr))
      return {FileState::kUnreadable, {}};
    if (got == 0) return contents;
    contents.bytes.append(buffer, got);
  }
}

std::optional<std::string> WritableTarget(const std::string& file) {
  std::wstring target = win32::ToUtf16(file);
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    target = LinkTarget(target);
    if (target.empty()) return std::nullopt;
    attributes = GetFileAttributesW(target.c_str());
  }
  if (attributes == INVALID_FILE_ATTRIBUTES && !IsAbsent(GetLastError())) return std::nullopt;
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return std::nullopt;
  return win32::ToUtf8(target);
}

}  // namespace qs::ini

#include <windows.h>

#include <system_error>

#include "platform/file_system.h"
#include "platform/ini/ini_file.h"
#include "platform/win32/utf16.h"

namespace qs::ini {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool IsAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The file a symbolic link leads to; empty when it cannot be found.
std::wstring LinkTarget(const std::wstring& link) {
  FileHandle file(CreateFileW(link.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return {};
  const DWORD needed = GetFinalPathNameByHandleW(file.Get(), nullptr, 0, FILE_NAME_NORMALIZED);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file.Get(), path.data(), needed, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  return path;
}

}  // namespace

FileContents ReadIniFile(const std::string& file) {
  // A directory cannot be opened this way; a pipe or device can, and is
  // turned away by its type.
  FileHandle handle(CreateFileW(win32::ToUtf16(file).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid())
    return {IsAbsent(GetLastError()) ? FileState::kMissing : FileState::kUnreadable, {}};
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) return {FileState::kUnreadable, {}};
  FileContents contents{FileState::kRead, {}};
  char buffer[1 << 14];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle.Get(), buffer, sizeof buffer, &got, nullptr))
      return {FileState::kUnreadable, {}};
    if (got == 0) return contents;
    contents.bytes.append(buffer, got);
  }
}

bool ReplaceIniFile(const std::string& file, std::string_view bytes) {
  std::wstring target = win32::ToUtf16(file);
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    target = LinkTarget(target);
    if (target.empty()) return false;
    attributes = GetFileAttributesW(target.c_str());
  }
  if (attributes == INVALID_FILE_ATTRIBUTES && !IsAbsent(GetLastError())) return false;
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
  try {
    ReplacingFile replacement(win32::ToUtf8(target), ReplacingFile::Marks::kKept);
    replacement.Write(bytes);
    replacement.Commit();
    return true;
  } catch (const std::system_error&) {
    return false;  // the caller reports the settings file as not saved
  }
}

}  // namespace qs::ini

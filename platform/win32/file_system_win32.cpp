#include <windows.h>

#include <algorithm>
#include <system_error>

#include "platform/file_system.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

[[noreturn]] void ThrowLastError(const std::string& what, const std::string& path) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                          what + " " + path);
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::ToUtf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::ToUtf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void MakeDirectory(const std::string& path) {
  if (!CreateDirectoryW(win32::ToUtf16(path).c_str(), nullptr))
    ThrowLastError("cannot create the directory", path);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  FileHandle file(CreateFileW(win32::ToUtf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) ThrowLastError("cannot create", path);
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr))
      ThrowLastError("cannot write", path);
    bytes.remove_prefix(written);
  }
}

std::size_t FileNameLength(std::string_view name) { return win32::ToUtf16(name).size(); }

}  // namespace qs

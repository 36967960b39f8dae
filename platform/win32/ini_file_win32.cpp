#include <windows.h>

#include <algorithm>
#include <random>

#include "platform/ini/ini_file.h"
#include "platform/temporary_name.h"
#include "platform/win32/utf16.h"

namespace qs::ini {

namespace {

constexpr int kMaxNameTries = 16;
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

std::wstring DirectoryOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

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

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A new file under a name of its own, deleted again unless it was moved
// into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::wstring& beside, DWORD attributes)
      : file_(Create(beside, attributes, path_)) {}
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Valid() const { return file_.Valid(); }
  HANDLE Get() const { return file_.Get(); }
  bool Close() { return file_.Close(); }
  bool MoveTo(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return false;
    path_.clear();
    return true;
  }

 private:
  static HANDLE Create(const std::wstring& beside, DWORD attributes, std::wstring& path) {
    std::random_device random;
    for (int tries = 0; tries < kMaxNameTries; ++tries) {
      path = DirectoryOf(beside) +
             win32::ToUtf16(TemporaryName(static_cast<long>(GetCurrentProcessId()), random()));
      // CREATE_NEW fails on anything already there, a planted link included.
      const HANDLE file =
          CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
      if (file != INVALID_HANDLE_VALUE) return file;
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    path.clear();
    return INVALID_HANDLE_VALUE;
  }

  std::wstring path_;  // before file_, which fills it in
  FileHandle file_;
};

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
  // The new file keeps what marks the old one, such as hidden.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = exists ? attributes & kKept : 0;
  TemporaryFile temporary(target, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
  if (!temporary.Valid() || !WriteAll(temporary.Get(), bytes)) return false;
  if (!FlushFileBuffers(temporary.Get()) || !temporary.Close()) return false;
  return temporary.MoveTo(target);
}

}  // namespace qs::ini

#include <windows.h>

#include <algorithm>
#include <system_error>

#include "platform/file_system.h"
#include "platform/temporary_name.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

[[noreturn]] void ThrowError(DWORD error, const std::string& what, const std::string& path) {
  throw std::system_error(static_cast<int>(error), std::system_category(), what + " " + path);
}

[[noreturn]] void ThrowLastError(const std::string& what, const std::string& path) {
  ThrowError(GetLastError(), what, path);
}

bool ProcessRuns(DWORD pid) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

std::int64_t Join(DWORD high, DWORD low) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// Links, junctions and directories are not regular files; the check is made
// on the handle so that nothing swapped in after a look at the path slips by.
win32::UniqueFile OpenRegularForReading(const std::string& path, std::int64_t& size) {
  win32::UniqueFile file = win32::OwnFile(
      CreateFileW(win32::ToUtf16(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
    return {};
  size = Join(info.nFileSizeHigh, info.nFileSizeLow);
  return file;
}

// Reads until the buffer is full or the file ends; the count read, or -1.
long ReadFully(HANDLE file, std::string& buffer) {
  DWORD filled = 0;
  while (filled < buffer.size()) {
    DWORD got = 0;
    if (!ReadFile(file, buffer.data() + filled, static_cast<DWORD>(buffer.size()) - filled, &got,
                  nullptr))
      return -1;
    if (got == 0) break;
    filled += got;
  }
  return static_cast<long>(filled);
}

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

ReplacingFile::ReplacingFile(std::string path, Marks marks)
    : path_(std::move(path)), handle_(-1) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD replaced = GetFileAttributesW(win32::ToUtf16(path_).c_str());
  const DWORD kept =
      marks == Marks::kKept && replaced != INVALID_FILE_ATTRIBUTES ? replaced & kKept : 0;
  const auto slash = path_.find_last_of("\\/");
  const std::string directory = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
  // CREATE_NEW: a name planted in the directory is never opened; another
  // random name is tried instead.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary_ =
        directory + TemporaryName(static_cast<long>(GetCurrentProcessId()), UnguessableNumber());
    file = CreateFileW(win32::ToUtf16(temporary_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) ThrowLastError("cannot create", path_);
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

ReplacingFile::~ReplacingFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  if (!temporary_.empty()) DeleteFileW(win32::ToUtf16(temporary_).c_str());
}

void ReplacingFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle_), bytes.data(), chunk, &written, nullptr))
      ThrowLastError("cannot write", path_);
    bytes.remove_prefix(written);
  }
}

// The stamp is read once the file has its name: the system may set its
// time as the handle closes.
FileStamp ReplacingFile::Commit() {
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  handle_ = -1;
  if (!CloseHandle(file)) ThrowLastError("cannot write", path_);
  if (!MoveFileExW(win32::ToUtf16(temporary_).c_str(), win32::ToUtf16(path_).c_str(),
                   MOVEFILE_REPLACE_EXISTING))
    ThrowLastError("cannot create", path_);
  temporary_.clear();
  const std::optional<FileStamp> stamp = RegularFileStamp(path_);
  if (!stamp) ThrowLastError("cannot examine", path_);
  return *stamp;
}

void RemoveStaleTemporaries(const std::string& directory) {
  std::string prefix = directory;
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(win32::ToUtf16(prefix + ".qs-*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = win32::ToUtf8(found.cFileName);
    const auto pid = TemporaryNameWriter(name);
    if (pid && !ProcessRuns(static_cast<DWORD>(*pid)))
      DeleteFileW(win32::ToUtf16(prefix + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::optional<FileStamp> RegularFileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(win32::ToUtf16(path).c_str(), GetFileExInfoStandard, &info) ||
      (info.dwFileAttributes &
       (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0)
    return std::nullopt;
  return FileStamp{Join(info.nFileSizeHigh, info.nFileSizeLow),
                   Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

bool SameFileContents(const std::string& first, const std::string& second) {
  std::int64_t first_size = 0, second_size = 0;
  const win32::UniqueFile a = OpenRegularForReading(first, first_size);
  const win32::UniqueFile b = OpenRegularForReading(second, second_size);
  if (!a || !b || first_size != second_size) return false;
  std::string first_bytes(1 << 16, '\0'), second_bytes(1 << 16, '\0');
  for (;;) {
    const long got = ReadFully(a.get(), first_bytes);
    if (got < 0 || ReadFully(b.get(), second_bytes) != got) return false;
    if (got == 0) return true;
    if (first_bytes.compare(0, static_cast<std::size_t>(got), second_bytes, 0,
                            static_cast<std::size_t>(got)) != 0)
      return false;
  }
}

bool RemoveEntry(const std::string& path) {
  const std::wstring wide = win32::ToUtf16(path);
  return DeleteFileW(wide.c_str()) || RemoveDirectoryW(wide.c_str());
}

void HideFile(const std::string& path) {
  const std::wstring wide = win32::ToUtf16(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_HIDDEN) != 0) return;
  // NORMAL is valid only alone.
  SetFileAttributesW(wide.c_str(),
                     (attributes & ~DWORD{FILE_ATTRIBUTE_NORMAL}) | FILE_ATTRIBUTE_HIDDEN);
}

bool LeadingDotHides() { return false; }

std::size_t FileNameLength(std::string_view name) { return win32::ToUtf16(name).size(); }

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

std::optional<std::string> MissingDrive(const std::string& path) {
  const bool lettered = path.size() >= 2 && path[1] == ':' &&
                        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!lettered) return std::nullopt;
  const wchar_t root[] = {static_cast<wchar_t>(path[0]), L':', L'\\', L'\0'};
  if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR) return std::nullopt;
  return "The drive " + path.substr(0, 2) + " does not exist.";
}

}  // namespace qs

#include <windows.h>

#include <system_error>

#include "platform/file_lock.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

[[noreturn]] void Throw(DWORD error, const std::string& what, const std::string& path) {
  throw std::system_error(static_cast<int>(error), std::system_category(), what + " " + path);
}

// A Windows lock is mandatory for the bytes it covers: it covers one byte far
// past any content, so that the file itself stays readable and writable
// through other handles, as an advisory lock leaves it.
OVERLAPPED LockedByte() {
  OVERLAPPED place{};
  place.OffsetHigh = 0x40000000;
  return place;
}

}  // namespace

FileLock::FileLock(const std::string& path) : handle_(-1) {
  const HANDLE file = CreateFileW(win32::ToUtf16(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) Throw(GetLastError(), "cannot open the lock", path);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    Throw(error, "cannot open the lock", path);
  }
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    CloseHandle(file);
    Throw(ERROR_CANT_ACCESS_FILE, "cannot open the lock", path);
  }
  OVERLAPPED place = LockedByte();
  BOOL taken =
      LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place);
  if (!taken && GetLastError() == ERROR_LOCK_VIOLATION) {
    waited_ = true;
    place = LockedByte();
    taken = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place);
  }
  if (!taken) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    Throw(error, "cannot lock", path);
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

// Unlocked before the close: the system releases a closed file's locks only
// when it gets round to it.
FileLock::~FileLock() {
  if (handle_ == -1) return;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED place = LockedByte();
  UnlockFileEx(file, 0, 1, 0, &place);
  CloseHandle(file);
}

}  // namespace qs

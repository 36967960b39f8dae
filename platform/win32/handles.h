#pragma once
// Owning wrappers of the window system's handles: one template, one closing
// function per kind; movable, never copied.

#include <windows.h>

#include <utility>

namespace qs::win32 {

template <class Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

inline void CloseWindowHandle(HWND window) { DestroyWindow(window); }
inline void CloseFont(HFONT font) { DeleteObject(font); }
inline void CloseMenu(HMENU menu) { DestroyMenu(menu); }
inline void CloseAccelerators(HACCEL table) { DestroyAcceleratorTable(table); }
inline void CloseFile(HANDLE file) { CloseHandle(file); }
inline void CloseMemoryDC(HDC dc) { DeleteDC(dc); }
inline void CloseBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }

using UniqueWindow = UniqueHandle<HWND, CloseWindowHandle>;
using UniqueFont = UniqueHandle<HFONT, CloseFont>;
using UniqueMenu = UniqueHandle<HMENU, CloseMenu>;
using UniqueAccelerators = UniqueHandle<HACCEL, CloseAccelerators>;
using UniqueFile = UniqueHandle<HANDLE, CloseFile>;
using UniqueMemoryDC = UniqueHandle<HDC, CloseMemoryDC>;  // from CreateCompatibleDC
using UniqueBitmap = UniqueHandle<HBITMAP, CloseBitmap>;

// CreateFileW's result, which says "none" with INVALID_HANDLE_VALUE.
inline UniqueFile OwnFile(HANDLE file) {
  return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

}  // namespace qs::win32

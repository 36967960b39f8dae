#pragma once
// An owning COM interface pointer: one reference, released on every path.
// Moved, or shared on purpose with Share(); never copied by accident.

#include <unknwn.h>

#include <string_view>
#include <utility>

#include "platform/win32/com_error.h"

namespace qs::win32 {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For out-parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &pointer_;
  }
  T* release() { return std::exchange(pointer_, nullptr); }
  void reset(T* pointer = nullptr) {
    if (pointer_) pointer_->Release();
    pointer_ = pointer;
  }

  ComPtr Share() const {
    if (pointer_) pointer_->AddRef();
    return Attach(pointer_);
  }

  // Another interface of the same object, or an empty pointer.
  template <class U>
  ComPtr<U> try_query() const {
    ComPtr<U> result;
    if (pointer_) pointer_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result.put()));
    return result;
  }
  // Another interface of the same object; throws ComError when it has none.
  template <class U>
  ComPtr<U> query(std::string_view operation = "QueryInterface") const {
    ComPtr<U> result;
    ThrowIfFailed(pointer_ ? pointer_->QueryInterface(__uuidof(U),
                                                      reinterpret_cast<void**>(result.put()))
                           : E_POINTER,
                  operation);
    return result;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace qs::win32

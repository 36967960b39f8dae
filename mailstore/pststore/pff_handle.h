#pragma once
// libpff's handles and errors as owning objects. This and the files named
// pff_* are the only code that knows libpff.

#include <libpff.h>

#include <string>
#include <utility>

namespace qs::pststore {

// An error libpff reports through its last argument.
class PffError {
 public:
  PffError() = default;
  ~PffError() { libpff_error_free(&error_); }
  PffError(const PffError&) = delete;
  PffError& operator=(const PffError&) = delete;

  libpff_error_t** Out() { return &error_; }
  // libpff's own description, its innermost cause last.
  std::string Text() const;

 private:
  libpff_error_t* error_ = nullptr;
};

// Throws MailStoreError: what, then libpff's description.
[[noreturn]] void ThrowPffError(const std::string& what, const PffError& error);

template <typename T, int (*Free)(T**, libpff_error_t**)>
class PffHandle {
 public:
  PffHandle() = default;
  ~PffHandle() { Reset(); }
  PffHandle(PffHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  PffHandle& operator=(PffHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  PffHandle(const PffHandle&) = delete;
  PffHandle& operator=(const PffHandle&) = delete;

  T* Get() const { return handle_; }
  T** Out() {
    Reset();
    return &handle_;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  void Reset() {
    if (handle_) Free(&handle_, nullptr);
    handle_ = nullptr;
  }

  T* handle_ = nullptr;
};

using PffItem = PffHandle<libpff_item_t, libpff_item_free>;
using PffRecordSet = PffHandle<libpff_record_set_t, libpff_record_set_free>;
using PffRecordEntry = PffHandle<libpff_record_entry_t, libpff_record_entry_free>;

}  // namespace qs::pststore

#pragma once
// An owning BSTR, made from and read back as UTF-8.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace qs::win32 {

class Bstr {
 public:
  Bstr() = default;
  // Throws std::bad_alloc when the system has no memory for the string.
  explicit Bstr(std::string_view utf8);
  static Bstr Attach(BSTR text) {
    Bstr result;
    result.text_ = text;
    return result;
  }
  Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.text_, nullptr));
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { reset(); }

  BSTR get() const { return text_; }
  BSTR* put() {
    reset();
    return &text_;
  }
  BSTR release() { return std::exchange(text_, nullptr); }
  void reset(BSTR text = nullptr) {
    SysFreeString(text_);
    text_ = text;
  }
  std::string ToUtf8() const;

 private:
  BSTR text_ = nullptr;
};

// A BSTR's text as UTF-8 (a null BSTR is the empty text).
std::string BstrToUtf8(BSTR text);

}  // namespace qs::win32

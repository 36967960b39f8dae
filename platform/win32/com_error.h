#pragma once
// A failed COM call as a C++ exception: the operation that failed, the code,
// and the server's own words for it when it gave any.

#include <windows.h>
#include <oaidl.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace qs::win32 {

class ComError : public std::runtime_error {
 public:
  ComError(std::string_view operation, HRESULT code, std::string description);

  HRESULT Code() const { return code_; }
  // The server's description, or the system's text for the code.
  const std::string& Description() const { return description_; }

 private:
  HRESULT code_;
  std::string description_;
};

// Throws ComError naming the operation when the result is a failure.
void ThrowIfFailed(HRESULT result, std::string_view operation);

// The error of a failed IDispatch::Invoke. For DISP_E_EXCEPTION the server's
// EXCEPINFO speaks (its scode, else its wCode, and its description); the
// strings it holds are freed here.
ComError InvokeError(std::string_view operation, HRESULT result, EXCEPINFO& exception);

}  // namespace qs::win32

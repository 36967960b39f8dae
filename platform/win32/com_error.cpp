#include "platform/win32/com_error.h"

#include <cstdio>

#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {

std::string HexCode(HRESULT code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

std::string SystemText(HRESULT code) {
  // The two ways of "not installed", which not every system has words for.
  if (code == CO_E_CLASSSTRING) return "no such program identifier is registered";
  if (code == REGDB_E_CLASSNOTREG) return "the class is not registered";
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return ToUtf8(text);
}

std::string TakeBstr(BSTR& text) {
  std::string result = text ? ToUtf8(std::wstring_view(text, SysStringLen(text))) : std::string();
  SysFreeString(text);
  text = nullptr;
  return result;
}

}  // namespace

ComError::ComError(std::string_view operation, HRESULT code, std::string description)
    : std::runtime_error(std::string(operation) + ": " +
                         (description.empty() ? std::string("failed") : description) + " (" +
                         HexCode(code) + ")"),
      code_(code),
      description_(std::move(description)) {}

void ThrowIfFailed(HRESULT result, std::string_view operation) {
  if (FAILED(result)) throw ComError(operation, result, SystemText(result));
}

ComError InvokeError(std::string_view operation, HRESULT result, EXCEPINFO& exception) {
  if (result != DISP_E_EXCEPTION) return ComError(operation, result, SystemText(result));
  if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
  TakeBstr(exception.bstrSource);
  TakeBstr(exception.bstrHelpFile);
  std::string description = TakeBstr(exception.bstrDescription);
  const HRESULT code = exception.scode != 0 ? exception.scode
                                            : static_cast<HRESULT>(exception.wCode);
  if (description.empty() && code != 0) description = SystemText(code);
  return ComError(operation, code != 0 ? code : result, std::move(description));
}

}  // namespace qs::win32

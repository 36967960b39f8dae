// The kernel32 profile functions behind the profile seam.

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/profile.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The system may cut between the halves of a surrogate pair; the half left
// over is no character and is dropped.
void DropSplitSurrogates(std::vector<wchar_t>& buffer, std::size_t used) {
  for (std::size_t i = 0; i < used; ++i)
    if (IsHighSurrogate(buffer[i]) && (i + 1 >= used || buffer[i + 1] < 0xDC00 || buffer[i + 1] > 0xDFFF))
      buffer[i] = L'\0';
}

std::string ListResult(std::vector<wchar_t>& buffer) {
  DropSplitSurrogates(buffer, buffer.size());
  return win32::ToUtf8(std::wstring_view(buffer.data(), buffer.size()));
}

class KernelProfile final : public Profile {
 public:
  std::string_view Name() const override { return "kernel32"; }

  std::string GetString(const std::string& section, const std::string& key, int buffer_chars,
                        const std::string& file) const override {
    if (buffer_chars <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(buffer_chars), L'\0');
    const DWORD count = GetPrivateProfileStringW(
        win32::ToUtf16(section).c_str(), win32::ToUtf16(key).c_str(), L"", buffer.data(),
        static_cast<DWORD>(buffer_chars), win32::ToUtf16(file).c_str());
    const std::size_t used = std::min<std::size_t>(count, buffer.size());
    if (used > 0 && IsHighSurrogate(buffer[used - 1])) buffer[used - 1] = L'\0';
    return win32::ToUtf8(std::wstring_view(buffer.data(), used));
  }

  std::string GetKeyNames(const std::string& section, int buffer_chars,
                          const std::string& file) const override {
    if (buffer_chars <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(buffer_chars), L'\0');
    GetPrivateProfileStringW(win32::ToUtf16(section).c_str(), nullptr, L"", buffer.data(),
                             static_cast<DWORD>(buffer_chars), win32::ToUtf16(file).c_str());
    return ListResult(buffer);
  }

  std::string GetSectionNames(int buffer_chars, const std::string& file) const override {
    if (buffer_chars <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(buffer_chars), L'\0');
    GetPrivateProfileStringW(nullptr, nullptr, L"", buffer.data(), static_cast<DWORD>(buffer_chars),
                             win32::ToUtf16(file).c_str());
    return ListResult(buffer);
  }

  std::string GetSectionLines(const std::string& section, int buffer_chars,
                              const std::string& file) const override {
    if (buffer_chars <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(buffer_chars), L'\0');
    GetPrivateProfileSectionW(win32::ToUtf16(section).c_str(), buffer.data(),
                              static_cast<DWORD>(buffer_chars), win32::ToUtf16(file).c_str());
    return ListResult(buffer);
  }

  bool WriteString(const std::string& section, const std::string& key,
                   const std::optional<std::string>& value,
                   const std::string& file) const override {
    const std::wstring wide_value = value ? win32::ToUtf16(*value) : std::wstring();
    return WritePrivateProfileStringW(win32::ToUtf16(section).c_str(), win32::ToUtf16(key).c_str(),
                                      value ? wide_value.c_str() : nullptr,
                                      win32::ToUtf16(file).c_str()) != 0;
  }

  bool WriteSection(const std::string& section, const std::string& lines,
                    const std::string& file) const override {
    // The line list ends in two NULs whether or not the caller ended it so.
    std::wstring wide = win32::ToUtf16(lines);
    wide.append(2, L'\0');
    return WritePrivateProfileSectionW(win32::ToUtf16(section).c_str(), wide.c_str(),
                                       win32::ToUtf16(file).c_str()) != 0;
  }
};

}  // namespace

std::unique_ptr<Profile> SystemProfile() { return std::make_unique<KernelProfile>(); }

}  // namespace qs

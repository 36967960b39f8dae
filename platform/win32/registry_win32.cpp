// The system registry, read through the 8-bit calls so that the byte limit of
// a read is counted in the system's code page.

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/registry.h"
#include "platform/win32/utf16.h"

namespace qs {

namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::None: break;
  }
  return nullptr;
}

std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return win32::ToUtf8(wide);
}

std::string ToAnsi(const std::string& utf8) {
  const std::wstring wide = win32::ToUtf16(utf8);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

// An open key, closed on every path.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class SystemRegistry final : public Registry {
 public:
  bool IsSystem() const override { return true; }

  std::optional<std::string> ReadText(RegistryRoot root, const std::string& key_path,
                                      const std::string& value_name,
                                      std::size_t buffer_bytes) const override {
    OpenKey key;
    if (!RootKey(root) ||
        RegOpenKeyExA(RootKey(root), ToAnsi(key_path).c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
      return std::nullopt;
    std::vector<char> buffer(buffer_bytes, '\0');
    DWORD size = static_cast<DWORD>(buffer_bytes);
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), ToAnsi(value_name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
      return std::nullopt;
    // The count the system reports takes in the terminating zero.
    std::size_t length = std::min<std::size_t>(size, buffer.size());
    if (length > 0 && buffer[length - 1] == '\0') --length;
    return FromAnsi(std::string_view(buffer.data(), length));
  }

  bool WriteText(RegistryRoot root, const std::string& key_path, const std::string& value_name,
                 const std::string& text) override {
    OpenKey key;
    if (!RootKey(root) ||
        RegCreateKeyExW(RootKey(root), win32::ToUtf16(key_path).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
      return false;
    const std::wstring wide = win32::ToUtf16(text);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), win32::ToUtf16(value_name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
  }

  bool DeleteTree(RegistryRoot root, const std::string& key_path) override {
    return RootKey(root) && !key_path.empty() &&
           RegDeleteTreeW(RootKey(root), win32::ToUtf16(key_path).c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<Registry> UserRegistry() { return std::make_unique<SystemRegistry>(); }

}  // namespace qs

#pragma once
// Registry values named by one path text: root, backslash, key path,
// backslash, value name, e.g. "hklm\Software\Helper\InstallPath". The roots
// are "hklm" and "hkcu" in any letter case, and no others. The text is split
// at its first and its last backslash, so the key path keeps its inner
// backslashes; an empty value name names the key's default value.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace qs {

// The longest value text read is one byte less, for the terminating zero.
constexpr std::size_t kRegValueBuffer = 1024;

struct RegPath {
  RegistryRoot root = RegistryRoot::None;
  std::string key_path;
  std::string value_name;
};

// Root None and empty texts when the text cannot be split or the root is not
// recognised.
RegPath SplitRegPath(std::string_view path);

// The text of the value the path names, or the empty text when there is no
// such key or value or it does not fit the buffer.
std::string GetRegSetting(const Registry& registry, std::string_view path);

}  // namespace qs

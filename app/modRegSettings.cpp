#include "app/modRegSettings.h"
#include "platform/text.h"

namespace qs {

RegPath SplitRegPath(std::string_view path) {
  const auto first = path.find('\\');
  const auto last = path.rfind('\\');
  if (first == std::string_view::npos || first == last) return {};
  const std::string root = AsciiLower(path.substr(0, first));
  RegPath split;
  if (root == "hklm")
    split.root = RegistryRoot::LocalMachine;
  else if (root == "hkcu")
    split.root = RegistryRoot::CurrentUser;
  else
    return {};
  split.key_path = std::string(path.substr(first + 1, last - first - 1));
  split.value_name = std::string(path.substr(last + 1));
  return split;
}

std::string GetRegSetting(const Registry& registry, std::string_view path) {
  const RegPath split = SplitRegPath(path);
  if (split.key_path.empty()) return {};
  return registry.ReadText(split.root, split.key_path, split.value_name, kRegValueBuffer)
      .value_or(std::string());
}

}  // namespace qs

// The registry kept in a text file of ours, for systems without a registry.
// The file is read afresh by every call; a write rewrites it whole.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"

namespace qs {

namespace {

RegistryRoot RootNamed(std::string_view name) {
  const std::string lower = AsciiLower(name);
  if (lower == "hkcu" || lower == "hkey_current_user") return RegistryRoot::CurrentUser;
  if (lower == "hklm" || lower == "hkey_local_machine") return RegistryRoot::LocalMachine;
  return RegistryRoot::None;
}

std::string RootName(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string_view WithoutOuterBackslashes(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

struct KeyName {
  RegistryRoot root = RegistryRoot::None;
  std::string path;  // lower case, no backslash at either end
  bool operator==(const KeyName&) const = default;
};

KeyName MakeKey(RegistryRoot root, std::string_view path) {
  return {root, AsciiLower(WithoutOuterBackslashes(path))};
}

// The key a "[ROOT\key\path]" line opens, or none for any other line.
std::optional<KeyName> HeaderKey(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  line = line.substr(1, line.size() - 2);
  const auto slash = line.find('\\');
  const auto root = RootNamed(TrimBlanks(line.substr(0, slash)));
  if (root == RegistryRoot::None) return KeyName{};
  return MakeKey(root, slash == std::string_view::npos ? std::string_view() : line.substr(slash + 1));
}

// The value name of a "name=text" line ("@" being the default value's).
std::optional<std::string> ValueName(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || TrimBlanks(line).starts_with(';')) return std::nullopt;
  const auto name = TrimBlanks(line.substr(0, equals));
  return name == "@" ? std::string() : std::string(name);
}

class RegistryFile final : public Registry {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}

  bool IsSystem() const override { return false; }

  std::optional<std::string> ReadText(RegistryRoot root, const std::string& key_path,
                                      const std::string& value_name,
                                      std::size_t buffer_bytes) const override {
    const KeyName key = MakeKey(root, key_path);
    std::optional<KeyName> current;
    for (const auto& line : ReadLines()) {
      if (const auto header = HeaderKey(line)) {
        current = header;
        continue;
      }
      const auto name = ValueName(line);
      if (!current || *current != key || !name || AsciiLower(*name) != AsciiLower(value_name)) continue;
      std::string text = line.substr(line.find('=') + 1);
      if (text.size() + 1 > buffer_bytes) return std::nullopt;
      return text;
    }
    return std::nullopt;
  }

  bool WriteText(RegistryRoot root, const std::string& key_path, const std::string& value_name,
                 const std::string& text) override {
    if (root == RegistryRoot::None || text.find('\n') != std::string::npos) return false;
    const KeyName key = MakeKey(root, key_path);
    const std::string entry = (value_name.empty() ? "@" : value_name) + "=" + text;
    auto lines = ReadLines();
    std::optional<std::size_t> section_end;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (const auto header = HeaderKey(lines[i])) {
        if (section_end) break;
        if (*header == key) section_end = i + 1;
        continue;
      }
      if (!section_end) continue;
      const auto name = ValueName(lines[i]);
      if (name && AsciiLower(*name) == AsciiLower(value_name)) {
        lines[i] = entry;
        return WriteLines(lines);
      }
      if (!TrimBlanks(lines[i]).empty()) section_end = i + 1;
    }
    if (section_end) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*section_end), entry);
    } else {
      std::string header = "[" + RootName(root);
      header += '\\';
      header.append(WithoutOuterBackslashes(key_path));
      header += ']';
      lines.push_back(std::move(header));
      lines.push_back(entry);
    }
    return WriteLines(lines);
  }

  bool DeleteTree(RegistryRoot root, const std::string& key_path) override {
    const KeyName key = MakeKey(root, key_path);
    auto lines = ReadLines();
    std::vector<std::string> kept;
    bool dropping = false;
    for (auto& line : lines) {
      if (const auto header = HeaderKey(line))
        dropping = header->root == key.root &&
                   (header->path == key.path || key.path.empty() ||
                    header->path.starts_with(key.path + "\\"));
      if (!dropping) kept.push_back(std::move(line));
    }
    return WriteLines(kept);
  }

 private:
  std::filesystem::path FilePath() const {
    return std::filesystem::path(std::u8string(path_.begin(), path_.end()));
  }

  std::vector<std::string> ReadLines() const {
    std::vector<std::string> lines;
    std::ifstream in(FilePath(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
    }
    return lines;
  }

  bool WriteLines(const std::vector<std::string>& lines) const {
    std::error_code ignored;
    std::filesystem::create_directories(FilePath().parent_path(), ignored);
    std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
    for (const auto& line : lines) out << line << '\n';
    out.close();
    return static_cast<bool>(out);
  }

  std::string path_;
};

}  // namespace

std::unique_ptr<Registry> RegistryInFile(std::string path) {
  return std::make_unique<RegistryFile>(std::move(path));
}

}  // namespace qs

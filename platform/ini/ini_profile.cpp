// Our own profile functions over IniDocument: every call reads the file
// afresh, and every write rewrites it whole through a temporary file beside
// it, so that a failed write leaves the old file as it was.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/ini/ini_document.h"
#include "platform/ini/utf16_units.h"
#include "platform/profile.h"

namespace qs {

namespace {

using ini::IniDocument;

std::filesystem::path PathOf(const std::string& file) {
  return std::filesystem::path(std::u8string(file.begin(), file.end()));
}

IniDocument ReadDocument(const std::string& file) {
  std::ifstream in(PathOf(file), std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return IniDocument::Parse(text.str());
}

bool WriteDocument(const IniDocument& doc, const std::string& file) {
  if (file.empty()) return false;
  const auto target = PathOf(file);
  auto temporary = target;
  temporary += ".tmp~";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string text = doc.Serialize();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

// Lays the entries out in a buffer of size characters as the profile calls
// do: each entry and a NUL, one more NUL at the end; an entry that does not
// fit is cut short and followed by two NULs. The rest is NUL.
std::string ListBuffer(const std::vector<std::string>& entries, int size) {
  if (size <= 0) return {};
  const auto capacity = static_cast<std::size_t>(size);
  std::string buffer;
  std::size_t used = 0;
  for (const auto& entry : entries) {
    const std::size_t length = ini::Utf16Length(entry);
    if (used + length + 2 <= capacity) {
      buffer += entry;
      buffer += '\0';
      used += length + 1;
      continue;
    }
    if (used + 2 <= capacity) {
      const auto cut = ini::Utf16Prefix(entry, capacity - used - 2);
      buffer += cut;
      used += ini::Utf16Length(cut);
    }
    break;
  }
  buffer.append(capacity - std::min(used, capacity), '\0');
  return buffer;
}

std::string WithoutQuotes(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

class OwnIniProfile final : public Profile {
 public:
  std::string_view Name() const override { return "own"; }

  std::string GetString(const std::string& section, const std::string& key, int buffer_chars,
                        const std::string& file) const override {
    if (buffer_chars <= 0) return {};
    const auto value = ReadDocument(file).Value(section, key);
    if (!value) return {};
    return std::string(
        ini::Utf16Prefix(WithoutQuotes(*value), static_cast<std::size_t>(buffer_chars) - 1));
  }

  std::string GetKeyNames(const std::string& section, int buffer_chars,
                          const std::string& file) const override {
    std::vector<std::string> names;
    for (auto& entry : ReadDocument(file).Entries(section)) names.push_back(std::move(entry.name));
    return ListBuffer(names, buffer_chars);
  }

  std::string GetSectionNames(int buffer_chars, const std::string& file) const override {
    return ListBuffer(ReadDocument(file).SectionNames(), buffer_chars);
  }

  std::string GetSectionLines(const std::string& section, int buffer_chars,
                              const std::string& file) const override {
    std::vector<std::string> lines;
    for (const auto& entry : ReadDocument(file).Entries(section))
      lines.push_back(entry.value ? entry.name + "=" + *entry.value : entry.name);
    return ListBuffer(lines, buffer_chars);
  }

  bool WriteString(const std::string& section, const std::string& key,
                   const std::optional<std::string>& value,
                   const std::string& file) const override {
    auto doc = ReadDocument(file);
    if (value)
      doc.SetValue(section, key, *value);
    else
      doc.RemoveKey(section, key);
    return WriteDocument(doc, file);
  }

  bool WriteSection(const std::string& section, const std::string& lines,
                    const std::string& file) const override {
    std::vector<std::string> split;
    std::size_t start = 0;
    while (start < lines.size() && lines[start] != '\0') {
      auto end = lines.find('\0', start);
      if (end == std::string::npos) end = lines.size();
      split.push_back(lines.substr(start, end - start));
      start = end + 1;
    }
    auto doc = ReadDocument(file);
    doc.ReplaceSection(section, split);
    return WriteDocument(doc, file);
  }
};

}  // namespace

std::unique_ptr<Profile> OwnProfile() { return std::make_unique<OwnIniProfile>(); }

}  // namespace qs

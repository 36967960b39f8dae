// Our own profile functions over IniDocument: every call reads the file
// afresh, and every write rewrites it whole, so a file that could not be
// read whole is never written: what was in it would be lost.

#include <algorithm>
#include <vector>

#include "platform/ini/ini_document.h"
#include "platform/ini/ini_encoding.h"
#include "platform/ini/ini_file.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace qs {

namespace {

using ini::IniDocument;

// A document and how its file is encoded; none when a file is there that
// could not be read.
struct LoadedFile {
  IniDocument doc;
  ini::FileEncoding encoding = ini::FileEncoding::kAsIs;
};

std::optional<LoadedFile> Load(const std::string& file) {
  const auto contents = ini::ReadIniFile(file);
  if (contents.state == ini::FileState::kUnreadable) return std::nullopt;
  auto decoded = ini::DecodeFileText(contents.bytes);
  return LoadedFile{IniDocument::Parse(decoded.text), decoded.encoding};
}

// What the reading calls see: an unreadable file reads as an empty one.
IniDocument ReadDocument(const std::string& file) {
  auto loaded = Load(file);
  return loaded ? std::move(loaded->doc) : IniDocument();
}

template <class Change>
bool Rewrite(const std::string& file, Change change) {
  if (file.empty()) return false;
  auto loaded = Load(file);
  if (!loaded) return false;
  change(loaded->doc);
  return ini::ReplaceIniFile(file, ini::EncodeFileText(loaded->doc.Serialize(), loaded->encoding));
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
    const std::size_t length = Utf16Length(entry);
    if (used + length + 2 <= capacity) {
      buffer += entry;
      buffer += '\0';
      used += length + 1;
      continue;
    }
    if (used + 2 <= capacity) {
      const auto cut = Utf16Prefix(entry, capacity - used - 2);
      buffer += cut;
      used += Utf16Length(cut);
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
        Utf16Prefix(WithoutQuotes(*value), static_cast<std::size_t>(buffer_chars) - 1));
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
    return Rewrite(file, [&](IniDocument& doc) {
      if (value)
        doc.SetValue(section, key, *value);
      else
        doc.RemoveKey(section, key);
    });
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
    return Rewrite(file, [&](IniDocument& doc) { doc.ReplaceSection(section, split); });
  }
};

}  // namespace

std::unique_ptr<Profile> OwnProfile() { return std::make_unique<OwnIniProfile>(); }

}  // namespace qs

#pragma once
// An INI file held as its lines, so that a write changes only the lines it
// must and keeps comments, blank lines and everything it does not understand.
// Section and key names match without regard to ASCII letter case; where a
// section or key occurs twice, the first occurrence counts.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::ini {

struct Entry {
  std::string name;
  std::optional<std::string> value;  // none for a line without '='
};

class IniDocument {
 public:
  IniDocument() = default;
  // Lines may end in "\n" or "\r\n"; a UTF-8 byte order mark is kept.
  static IniDocument Parse(std::string_view text);
  std::string Serialize() const;

  std::vector<std::string> SectionNames() const;
  // The key lines of a section in file order; comments and blank lines left out.
  std::vector<Entry> Entries(std::string_view section) const;
  // The value of a key, blanks around it dropped; none when it is missing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  void RemoveKey(std::string_view section, std::string_view key);
  // Replaces every key line of the section by the given lines.
  void ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

 private:
  struct Span {
    std::size_t header;  // index of the "[name]" line
    std::size_t end;     // one past the section's last line
  };
  std::optional<Span> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Span& span, std::string_view key) const;
  // Where a new line of the section goes: after its last non-blank line.
  std::size_t InsertionPoint(const Span& span) const;
  Span AppendSection(std::string_view section);

  std::string bom_;
  std::string newline_ = "\r\n";
  bool final_newline_ = true;
  std::vector<std::string> lines_;
};

}  // namespace qs::ini

#include "platform/ini/ini_document.h"
#include "platform/text.h"

#include <algorithm>

namespace qs::ini {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// The section name of a "[name]" line, or none for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return Trim(line.substr(1));
  return Trim(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.front() != ';' && line.front() != '[';
}

Entry ParseEntry(std::string_view line) {
  line = Trim(line);
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return {std::string(line), std::nullopt};
  return {std::string(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1)))};
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  if (text.starts_with(kBom)) {
    doc.bom_ = kBom;
    text.remove_prefix(kBom.size());
  }
  const auto first_break = text.find('\n');
  if (first_break != std::string_view::npos)
    doc.newline_ = first_break > 0 && text[first_break - 1] == '\r' ? "\r\n" : "\n";
  // A lone CR at the very end is the last line's end too, so that writing
  // the file back and reading it again gives the same lines.
  doc.final_newline_ = text.empty() || text.back() == '\n' || text.back() == '\r';
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    // CRs before a line end are all part of it: a line never ends in one, so
    // a line written back reads back the same whatever the line ends are.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines_.emplace_back(line);
    start = end + 1;
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string text = bom_;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i];
    if (i + 1 < lines_.size() || final_newline_) text += newline_;
  }
  return text;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const auto& line : lines_)
    if (auto name = HeaderName(line)) {
      const bool seen = std::any_of(names.begin(), names.end(),
                                    [&](const std::string& n) { return EqualsIgnoringAsciiCase(n, *name); });
      if (!seen) names.emplace_back(*name);
    }
  return names;
}

std::optional<IniDocument::Span> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = HeaderName(lines_[i]);
    if (!name || !EqualsIgnoringAsciiCase(*name, Trim(section))) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !HeaderName(lines_[end])) ++end;
    return Span{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Span& span, std::string_view key) const {
  for (std::size_t i = span.header + 1; i < span.end; ++i)
    if (IsKeyLine(lines_[i]) && EqualsIgnoringAsciiCase(ParseEntry(lines_[i]).name, Trim(key))) return i;
  return std::nullopt;
}

std::vector<Entry> IniDocument::Entries(std::string_view section) const {
  std::vector<Entry> entries;
  if (const auto span = FindSection(section))
    for (std::size_t i = span->header + 1; i < span->end; ++i)
      if (IsKeyLine(lines_[i])) entries.push_back(ParseEntry(lines_[i]));
  return entries;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  const auto index = FindKey(*span, key);
  if (!index) return std::nullopt;
  return ParseEntry(lines_[*index]).value.value_or(std::string());
}

std::size_t IniDocument::InsertionPoint(const Span& span) const {
  std::size_t at = span.end;
  while (at > span.header + 1 && Trim(lines_[at - 1]).empty()) --at;
  return at;
}

IniDocument::Span IniDocument::AppendSection(std::string_view section) {
  while (!lines_.empty() && Trim(lines_.back()).empty()) lines_.pop_back();
  if (!lines_.empty()) lines_.emplace_back();
  std::string header(1, '[');
  header.append(Trim(section));
  header += ']';
  lines_.push_back(std::move(header));
  final_newline_ = true;
  return Span{lines_.size() - 1, lines_.size()};
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  auto span = FindSection(section);
  if (!span) span = AppendSection(section);
  if (const auto index = FindKey(*span, key)) {
    lines_[*index] = KeyLine(ParseEntry(lines_[*index]).name, value);
    return;
  }
  const auto at = InsertionPoint(*span);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), KeyLine(Trim(key), value));
}

void IniDocument::RemoveKey(std::string_view section, std::string_view key) {
  const auto span = FindSection(section);
  if (!span) return;
  if (const auto index = FindKey(*span, key))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
}

void IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
  auto span = FindSection(section);
  if (!span) span = AppendSection(section);
  const auto keep_end = InsertionPoint(*span);
  auto first = lines_.begin() + static_cast<std::ptrdiff_t>(span->header + 1);
  lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(keep_end));
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(span->header + 1), lines.begin(),
                lines.end());
}

}  // namespace qs::ini

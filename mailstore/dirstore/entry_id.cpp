#include "mailstore/dirstore/entry_id.h"

#include <charconv>
#include <cstdio>

namespace qs::dirstore {

namespace {

bool SafeRelativePath(std::string_view path) {
  if (path.empty() || path.front() == '/' || path.back() == '/') return false;
  if (path.find('\0') != std::string_view::npos) return false;
  std::size_t start = 0;
  while (true) {
    const auto end = path.find('/', start);
    const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
    if (name.empty() || name == "." || name == "..") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace

std::string ItemIdentity(std::string_view relative_path) {
  const auto slash = relative_path.rfind('/');
  const std::string_view name = relative_path.substr(slash == std::string_view::npos ? 0 : slash + 1);
  if (slash != std::string_view::npos) {
    const std::string_view folder = relative_path.substr(0, slash);
    const auto above = folder.rfind('/');
    const std::string_view place = folder.substr(above == std::string_view::npos ? 0 : above + 1);
    if (place == "cur" || place == "new") {
      std::string identity = "maildir:";
      if (above != std::string_view::npos) identity.append(folder.substr(0, above + 1));
      identity.append(name.substr(0, name.find(":2,")));
      return identity;
    }
  }
  return "file:" + std::string(relative_path);
}

std::vector<std::string> ItemFolderNames(std::string_view relative_path) {
  std::vector<std::string> names;
  for (std::size_t slash; (slash = relative_path.find('/')) != std::string_view::npos;
       relative_path.remove_prefix(slash + 1))
    names.emplace_back(relative_path.substr(0, slash));
  if (names.size() > 1 && (names.back() == "cur" || names.back() == "new")) names.pop_back();
  return names;
}

EntryId EncodeEntryId(std::string_view relative_path) { return EntryId(std::string(relative_path)); }

EntryId EncodeEntryId(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append(1, '/').append(name);
  return EntryId(std::move(path));
}

EntryId EncodeMboxEntryId(std::string_view folder, const MboxMessage& message) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%016llx %u %llu", static_cast<unsigned long long>(message.hash),
                                   message.number, static_cast<unsigned long long>(message.from_line));
  std::string bytes(folder);
  bytes.append(1, '\0').append(text, static_cast<std::size_t>(length));
  return EntryId(std::move(bytes));
}

std::optional<MboxEntry> DecodeMboxEntryId(const EntryId& entry_id) {
  const std::string& bytes = entry_id.Bytes();
  const auto nul = bytes.find('\0');
  if (nul == std::string::npos || !SafeRelativePath(std::string_view(bytes).substr(0, nul))) return std::nullopt;
  MboxEntry entry{bytes.substr(0, nul)};
  const char* at = bytes.data() + nul + 1;
  const char* const end = bytes.data() + bytes.size();
  const auto take = [&](auto& number, int base, bool last) {
    const auto [next, error] = std::from_chars(at, end, number, base);
    if (error != std::errc() || (last ? next != end : next == end || *next != ' ')) return false;
    at = next + (last ? 0 : 1);
    return true;
  };
  if (!take(entry.hash, 16, false) || !take(entry.number, 10, false) || !take(entry.hint, 10, true))
    return std::nullopt;
  return entry;
}

std::string MboxIdentity(std::string_view folder, std::uint64_t hash, std::uint32_t number) {
  char text[40];
  const int length = std::snprintf(text, sizeof text, "#%016llx.%u", static_cast<unsigned long long>(hash), number);
  return "mbox:" + std::string(folder) + std::string(text, static_cast<std::size_t>(length));
}

std::optional<std::string> DecodeEntryId(const EntryId& entry_id) {
  if (!SafeRelativePath(entry_id.Bytes())) return std::nullopt;
  return entry_id.Bytes();
}

}  // namespace qs::dirstore

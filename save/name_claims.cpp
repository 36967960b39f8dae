#include "save/name_claims.h"

#include "platform/file_system.h"
#include "platform/text.h"

namespace qs {

namespace {

char32_t Lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x100 && c <= 0x137) return c | 1;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  return c;
}

// The stem cut so that stem and tail together fit the file system's limit.
std::string_view FitStem(std::string_view stem, std::string_view tail) {
  const std::size_t tail_length = FileNameLength(tail);
  if (tail_length >= kMaxFileNameLength) return {};
  std::size_t room = kMaxFileNameLength - tail_length;
  if (FileNameLength(stem) <= room) return stem;
  std::size_t end = 0;
  while (end < stem.size()) {
    const std::size_t bytes = CodePointBytes(stem.substr(end));
    const std::size_t length = FileNameLength(stem.substr(end, bytes));
    if (length > room) break;
    room -= length;
    end += bytes;
  }
  return stem.substr(0, end);
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  while (!text.empty()) {
    // A run of ASCII at once.
    std::size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    if (ascii > 0) {
      const std::size_t from = folded.size();
      folded.append(text.substr(0, ascii));
      for (std::size_t i = from; i < folded.size(); ++i)
        if (folded[i] >= 'A' && folded[i] <= 'Z') folded[i] = static_cast<char>(folded[i] + 32);
      text.remove_prefix(ascii);
      continue;
    }
    const Utf8Sequence next = DecodeUtf8(text);
    // A byte that is not a character is kept as it is.
    const char32_t lower = next.valid ? Lower(next.code_point) : next.code_point;
    if (lower != next.code_point) AppendUtf8(folded, lower);
    else folded.append(text.substr(0, next.bytes));
    text.remove_prefix(next.bytes);
  }
  return folded;
}

std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

NameClaims::DirectoryClaims& NameClaims::ClaimsOf(const std::string& dir) {
  if (!last_claims_ || dir != last_dir_) {
    last_claims_ = &claimed_[FoldCase(dir)];
    last_dir_ = dir;
  }
  return *last_claims_;
}

bool NameClaims::Take(const std::string& dir, const std::string& name) {
  return ClaimsOf(dir).names.insert(FoldCase(name)).second;
}

std::string NameClaims::Claim(const std::string& dir, std::string_view stem,
                              std::string_view extension, bool directory,
                              const std::function<bool(const std::string&)>& usable, int count) {
  // An extension that leaves no room for any stem is cut along with it.
  if (FileNameLength(extension) + 8 >= kMaxFileNameLength) {
    std::string whole(stem);
    whole.append(extension);
    return Claim(dir, std::string(FitStem(whole, " (99999)")), {}, directory, usable, count);
  }
  DirectoryClaims& claims = ClaimsOf(dir);
  // "/" is in no name: stem, extension and kind stay apart in the key.
  std::string key = FoldCase(stem);
  key += '/';
  key += FoldCase(extension);
  if (directory) key += '/';
  key += std::to_string(count);
  int& next = claims.next.try_emplace(std::move(key), 1).first->second;
  for (int number = next;; ++number) {
    std::string tail;
    if (number > 1) {
      tail.append(" (");
      tail += std::to_string(number);
      tail += ')';
    }
    tail.append(extension);
    std::string name(FitStem(stem, tail));
    if (directory) {
      name.erase(name.find_last_not_of(". ") + 1);
      if (name.empty()) name.push_back('_');
    }
    name += tail;
    std::string folded = FoldCase(name);
    if (claims.names.contains(folded) || (usable && !usable(name))) continue;
    claims.names.insert(std::move(folded));
    next = number + 1;
    return name;
  }
}

}  // namespace qs

#include "save/name_claims.h"

#include "platform/case_folding.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace qs {

namespace {

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

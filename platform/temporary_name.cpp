#include "platform/temporary_name.h"

#include <cstdio>
#include <random>

namespace qs {

namespace {

constexpr std::string_view kPrefix = ".qs-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 8;

bool AllOf(std::string_view text, bool (*accept)(char)) {
  if (text.empty()) return false;
  for (char c : text)
    if (!accept(c)) return false;
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string TemporaryName(long process_id, std::uint32_t random) {
  char text[40];
  std::snprintf(text, sizeof text, ".qs-%ld-%08lx.tmp", process_id,
                static_cast<unsigned long>(random));
  return text;
}

std::uint32_t UnguessableNumber() {
  thread_local std::mt19937 generator{std::random_device{}()};
  return static_cast<std::uint32_t>(generator());
}

std::optional<long> TemporaryNameWriter(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const auto dash = name.find('-');
  if (dash == std::string_view::npos || dash > 10) return std::nullopt;
  const std::string_view pid = name.substr(0, dash);
  const std::string_view random = name.substr(dash + 1);
  if (!AllOf(pid, IsDigit) || random.size() != kRandomDigits || !AllOf(random, IsHexDigit))
    return std::nullopt;
  return std::stol(std::string(pid));
}

}  // namespace qs

#include "platform/win32/command_line.h"

namespace qs::win32 {

std::wstring_view ArgumentsPart(std::wstring_view line) {
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    // The name ends at the closing quote; an unclosed one takes the line.
    const auto close = line.find(L'"', 1);
    at = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && line[at] != L' ' && line[at] != L'\t') ++at;
  }
  while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
  return line.substr(at);
}

}  // namespace qs::win32

#pragma once
// Paths below the save directory as the save record writes them: "/"
// between the names on every system, so that a record moves with its
// directory from one system to the other.

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace qs {

inline std::string ToRecordPath(std::string path) {
  std::replace(path.begin(), path.end(), PathSeparator(), '/');
  return path;
}

// The same into a string that keeps its room from path to path.
inline void AssignRecordPath(std::string& to, std::string_view path) {
  to.assign(path);
  if (const char separator = PathSeparator(); separator != '/') std::replace(to.begin(), to.end(), separator, '/');
}

inline std::string FromRecordPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', PathSeparator());
  return path;
}

}  // namespace qs

#pragma once

#include <string>

namespace qs {

// Makes sure the directory path exists, creating missing parents first. Any
// entry of that name counts as existing, a file too. A path without a
// separator is never created. Throws std::system_error when a creation fails.
void MakeDirs(const std::string& path);

// Makes sure the directories below base (which ends in the separator) down
// to path exist, making the missing ones; base itself, which the user
// named, is not looked at. Each level that is there must be a plain
// directory: false, with nothing made below it, when one is a link (what is
// written below a link lands wherever it leads). Throws std::system_error
// when a creation fails.
bool MakePlainDirs(const std::string& base, const std::string& path);

}  // namespace qs

#pragma once

#include <string>

namespace qs {

// Makes sure the directory path exists, creating missing parents first. Any
// entry of that name counts as existing, a file too. A path without a
// separator is never created. Throws std::system_error when a creation fails.
void MakeDirs(const std::string& path);

}  // namespace qs

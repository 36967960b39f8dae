#pragma once
// Names for the temporary file a write goes through. They are random, so
// that nobody can plant a link or file under the name ahead of the write.

#include <string>
#include <string_view>

namespace qs::ini {

// A fresh name in the directory of path (the path up to its last "/" or
// "\"); each call gives another.
std::string TemporaryNameBeside(std::string_view path);

}  // namespace qs::ini

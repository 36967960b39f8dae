#pragma once
// The few file-system operations that saving and the export need, with UTF-8
// paths in both builds (Windows takes them through its wide API).

#include <cstddef>
#include <string>
#include <string_view>

namespace qs {

// True when an entry of that name exists, whatever it is: a file, a
// directory, a hidden or system entry, a link that leads nowhere.
bool PathExists(const std::string& path);

bool IsDirectory(const std::string& path);

// Creates one directory whose parent exists. Throws std::system_error naming
// the path when it cannot, also when an entry of that name exists already.
void MakeDirectory(const std::string& path);

// Makes the bytes the whole content of the file, creating it or emptying an
// existing one. Throws std::system_error naming the path.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// The length of one name in a directory as the file system counts it toward
// its limit: UTF-16 code units on Windows, bytes elsewhere.
std::size_t FileNameLength(std::string_view name);
inline constexpr std::size_t kMaxFileNameLength = 255;

}  // namespace qs

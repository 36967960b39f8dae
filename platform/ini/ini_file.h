#pragma once
// The INI file on disk, for our own profile functions. A write may only
// replace a file whose every byte was read, so reading says why it gave
// nothing; and a write goes through a fresh temporary file in the
// directory of the file the name leads to, so that the settings file is
// never left half written, never replaced by another kind of file and
// never written through a name someone else could have planted.

#include <optional>
#include <string>
#include <string_view>

namespace qs::ini {

enum class FileState {
  kRead,       // a regular file, read whole
  kMissing,    // nothing by that name
  kUnreadable  // something is there, but not a regular file we could read
};

struct FileContents {
  FileState state = FileState::kMissing;
  std::string bytes;
};

// Never waits on a FIFO or device in the file's place.
FileContents ReadIniFile(const std::string& file);

// The file a write of file replaces: where its chain of links ends (which
// need not exist yet). Nothing when the write must be refused: a read-only
// file, something other than a regular file, a link that leads nowhere
// readable.
std::optional<std::string> WritableTarget(const std::string& file);

// Puts bytes in place of the file, or creates it; a symbolic link keeps
// pointing at the file it names, which gets the new bytes. An existing file
// keeps its permissions. False, with the file untouched, when WritableTarget
// refuses it or the new file cannot be made, written or moved into place.
bool ReplaceIniFile(const std::string& file, std::string_view bytes);

}  // namespace qs::ini

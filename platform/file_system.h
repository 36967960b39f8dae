#pragma once
// The few file-system operations that saving and the export need, with UTF-8
// paths in both builds (Windows takes them through its wide API).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// True when an entry of that name exists, whatever it is: a file, a
// directory, a hidden or system entry, a link that leads nowhere.
bool PathExists(const std::string& path);

bool IsDirectory(const std::string& path);

// "The drive Q: does not exist." for a path on a drive that the system does
// not have; nothing for any other path, and always on systems without
// drive letters.
std::optional<std::string> MissingDrive(const std::string& path);

// True for a directory that is no link (a symbolic link, or on Windows any
// reparse point, a junction among them): what a write below it reaches is
// below it.
bool IsPlainDirectory(const std::string& path);

// True when the entry at path (a link not followed) belongs to the user the
// program runs as; always where the system has no such owner to ask.
bool OwnedByUser(const std::string& path);

// Creates one directory whose parent exists. Throws std::system_error naming
// the path when it cannot, also when an entry of that name exists already.
void MakeDirectory(const std::string& path);

// What a later run compares to tell whether a saved file is still as it was
// written: its size and its modification time in the system's own ticks
// (nanoseconds since 1970 on Linux, 100 ns since 1601 on Windows).
struct FileStamp {
  std::int64_t size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};

// A file written in its final directory and given its final name only when
// whole, so that a killed run, a full disk or a second run writing the same
// name never leaves a cut file under a final name, and an earlier file of
// that name stays until the new one is whole. Destroyed without Commit, it
// removes what it wrote. Where the system has unnamed files (Linux), it has
// no name until then; otherwise, and for the moment before it replaces an
// earlier file, it has a short temporary name that carries the writer's
// process id, so that a later run can tell a killed writer's leftovers from
// those of a writer still at work.
class ReplacingFile {
 public:
  // What the new file takes from the one it replaces: nothing, or its
  // permissions (Windows: its hidden, system and archive marks), as a
  // settings file should keep them.
  enum class Marks { kNew, kKept };

  // Throws std::system_error naming the path when the file cannot be created.
  explicit ReplacingFile(std::string path, Marks marks = Marks::kNew);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Throw std::system_error naming the final path. Commit gives the
  // stamp of the file it put in place, as a look at it now would find it.
  void Write(std::string_view bytes);
  FileStamp Commit();

 private:
  std::string path_;
  std::string temporary_;
  std::intptr_t handle_;  // the system's handle of the open temporary file; -1 when closed
};

// Makes the bytes the whole content of the file through a ReplacingFile.
FileStamp WriteWholeFile(const std::string& path, std::string_view bytes);

// Removes the temporary files that writers no longer running left in the
// directory. Failures are not reported: a leftover is harmless.
void RemoveStaleTemporaries(const std::string& directory);

// The stamp of the regular file at path, a link not followed; nothing when
// there is none, or it is a link, a directory or anything else.
std::optional<FileStamp> RegularFileStamp(const std::string& path);

// True when both paths name regular files of the same bytes; false when
// they differ or either cannot be read. Links are not followed.
bool SameFileContents(const std::string& first, const std::string& second);

// The bytes of the regular file at path, a link not followed; nothing when
// no entry has that name. Throws std::system_error naming the path when the
// entry there cannot be read or is no regular file (a link among them).
std::optional<std::string> ReadRegularFile(const std::string& path);

// Why the file at path cannot be read (a directory in its place, no
// permission...), in the system's words; nothing when it can be, or when
// there is no entry of that name.
std::optional<std::string> ReadProblem(const std::string& path);

// The names of the entries of a directory, "." and ".." left out; none
// when it cannot be read.
std::vector<std::string> DirectoryNames(const std::string& directory);

// Gives an entry another name, replacing nothing; throws std::system_error
// naming the path when it cannot.
void RenameEntry(const std::string& from, const std::string& to);

// Removes a file, or an empty directory; false when it cannot.
bool RemoveEntry(const std::string& path);

// Marks a file hidden where the system has such a mark (Windows); elsewhere
// a leading dot hides it. Failures are not reported.
void HideFile(const std::string& path);

// True where a name that begins with a dot is a hidden entry.
bool LeadingDotHides();

// The length of one name in a directory as the file system counts it toward
// its limit: UTF-16 code units on Windows, bytes elsewhere.
std::size_t FileNameLength(std::string_view name);
inline constexpr std::size_t kMaxFileNameLength = 255;

}  // namespace qs

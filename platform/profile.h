#pragma once
// The profile functions: the four calls through which the program reads and
// writes INI files. Windows has them in kernel32; every build also has our own
// INI reader and writer, which behaves the same way, so that the tests can hold
// the two side by side.
//
// Texts are UTF-8. Buffer sizes count characters as the Windows calls do (one
// UTF-16 code unit each); a cut never splits a code point.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class Profile {
 public:
  virtual ~Profile() = default;

  // Which implementation this is, for test names and diagnostics.
  virtual std::string_view Name() const = 0;

  // The value of a key, blanks around it dropped and one enclosing pair of
  // quotation marks (double or single) removed, cut to buffer_chars - 1
  // characters. A missing file, section or key gives the empty text.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                int buffer_chars, const std::string& file) const = 0;

  // The buffer a list call fills, as a text of NUL-separated entries: every
  // key name of a section, every section name of the file, or every line
  // (key=value) of a section. Each entry is followed by a NUL and the list by
  // one more; when the list does not fit, the last entry is cut short and
  // followed by two NULs. The rest of the buffer, up to buffer_chars
  // characters, is NUL.
  virtual std::string GetKeyNames(const std::string& section, int buffer_chars,
                                  const std::string& file) const = 0;
  virtual std::string GetSectionNames(int buffer_chars, const std::string& file) const = 0;
  virtual std::string GetSectionLines(const std::string& section, int buffer_chars,
                                      const std::string& file) const = 0;

  // Sets a key's value, creating the file, the section and the key as needed;
  // no value removes the key. False when the file could not be written.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::optional<std::string>& value,
                           const std::string& file) const = 0;
  // Replaces every line of a section by the NUL-separated lines given.
  virtual bool WriteSection(const std::string& section, const std::string& lines,
                            const std::string& file) const = 0;
};

// The system's profile functions: kernel32's on Windows, our own elsewhere.
std::unique_ptr<Profile> SystemProfile();

// Our own INI reader and writer, present in every build. A relative file
// name is taken relative to the current directory.
std::unique_ptr<Profile> OwnProfile();

}  // namespace qs

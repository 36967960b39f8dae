#pragma once
// The registry values the program reads: the system registry on Windows; a
// text file of ours elsewhere (see RegistryInFile). The program only reads;
// the writing calls are there for tests and set-up tools.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace qs {

enum class RegistryRoot { None = 0, LocalMachine, CurrentUser };

class Registry {
 public:
  virtual ~Registry() = default;

  // True for the operating system's own registry.
  virtual bool IsSystem() const = 0;

  // A value read as text into a buffer of buffer_bytes bytes, as the 8-bit
  // registry calls read it: the text and its terminating zero must fit, or
  // there is no result. None as well when the key or the value is missing.
  // An empty value name reads the key's default value.
  virtual std::optional<std::string> ReadText(RegistryRoot root, const std::string& key_path,
                                              const std::string& value_name,
                                              std::size_t buffer_bytes) const = 0;

  // Sets a string value, creating the key. False when that failed.
  virtual bool WriteText(RegistryRoot root, const std::string& key_path,
                         const std::string& value_name, const std::string& text) = 0;
  // Removes a key with its values and subkeys.
  virtual bool DeleteTree(RegistryRoot root, const std::string& key_path) = 0;
};

// The current user's registry: the system's on Windows; elsewhere the file
// "quillstow/registry.txt" in $XDG_CONFIG_HOME, or in ~/.config when that is
// not set.
std::unique_ptr<Registry> UserRegistry();

// A registry kept in a text file, present in every build. The file holds
// sections named by root and key path and lines of value name and text:
//   ; a comment
//   [HKEY_CURRENT_USER\Software\Orrinwick\Quillstow]
//   AccessProg=hkcu\Software\Helper\Path
//   @=the key's default value
// Roots are written HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM.
// Key paths and value names match without regard to letter case; the text is
// everything after the first "=", kept as it stands. A missing or unreadable
// file holds no values.
std::unique_ptr<Registry> RegistryInFile(std::string path);

}  // namespace qs

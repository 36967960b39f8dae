#pragma once
// Names that the file system would take for something else: devices of
// Windows ("CON", "nul.txt"), the directory itself and its parent ("." and
// ".."), and names that Windows silently shortens (trailing blanks and dots).
// Both builds apply the same rules so that a saved tree can be copied to
// Windows unchanged, with one exception: where a leading dot hides a name
// (not on Windows), a name that would begin with one gets a leading "_".

#include <string>
#include <string_view>

namespace qs {

// CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 (and the console's CONIN$
// and CONOUT$) in any letter case, with or without an extension.
bool IsDeviceName(std::string_view name);

// A name for one entry of a directory that means just that entry: a name of
// dots only becomes as many "_" (an empty one "_"), trailing blanks and dots
// are dropped, and a device name gets a leading "_".
std::string SafeEntryName(std::string_view name);

// Every level of a relative directory path made safe (levels split at the
// file system's separator; empty levels dropped).
std::string SafeSubfolder(const std::string& subfolder);

// The base name of a saved file, made safe when base and extension together
// would name a device.
std::string SafeFileBaseName(const std::string& base, std::string_view extension);

}  // namespace qs

#pragma once
// Where the settings file lives when the command line names none, and the
// directory the first save of it needs.

#include <string>

namespace qs {

// A file of that name beside the program when one is there, so that a
// portable copy keeps its settings with it. Otherwise the system's place:
// beside the program on Windows, whose build is portable; elsewhere the
// user's configuration directory of the program, $XDG_CONFIG_HOME/quillstow
// (~/.config/quillstow when that is not set to an absolute path).
std::string DefaultSettingsFile(const std::string& file_name);

// Makes the directory that settings_file is written into when that is the
// user's configuration directory of the program and it does not exist yet,
// with the configuration directory above it; any other directory is left to
// exist or not. A symbolic link or another kind of file in the place of the
// program's directory, or a directory of another user, is refused. Throws
// std::system_error naming the directory.
void MakeSettingsDirectory(const std::string& settings_file);

}  // namespace qs
